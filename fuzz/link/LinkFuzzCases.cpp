#include "LinkFuzzCase.h"

std::unique_ptr<LinkFuzzCase> MakeReadFuzzCase(FuzzInput &input);
std::unique_ptr<LinkFuzzCase> MakeWriteFuzzCase(FuzzInput &input);
std::unique_ptr<LinkFuzzCase> MakePowerFuzzCase(FuzzInput &input);

// One entry per exchange, new ones at the end: the first byte of an input
// names its entry by position (bit 7 asks for the run-on to rest).
const std::vector<LinkFuzzCaseEntry> &LinkFuzzCases()
{
    static const std::vector<LinkFuzzCaseEntry> cases = {
        {"read", MakeReadFuzzCase},
        {"write", MakeWriteFuzzCase},
        {"power", MakePowerFuzzCase},
    };
    return cases;
}

int ArrivedBetween(const LineLog &log, size_t first, size_t last)
{
    int n = 0;
    for (size_t i = first + 1; i < last && i < log.size(); ++i)
        if (!log[i].written)
            n += int(log[i].bytes.size());
    return n;
}

QByteArray ArrivedAfter(const LineLog &log, size_t index, int count)
{
    QByteArray bytes;
    for (size_t i = index + 1; i < log.size() && bytes.size() < count; ++i)
        if (!log[i].written)
            bytes += log[i].bytes;
    return bytes.left(count);
}
