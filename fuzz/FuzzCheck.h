// A broken property ends the run at once with the reason: libFuzzer keeps
// the input that did it, the replay test fails.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzFailure(const std::string &what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// The reason is only built when the property is broken: the checks run
// thousands of times per input.
#define FUZZ_CHECK(holds, what)                                                                    \
    do {                                                                                           \
        if (!(holds))                                                                              \
            FuzzFailure(what);                                                                     \
    } while (false)
