#!/usr/bin/env bash
# How much of the code each fuzzing harness is there to test its corpus
# reaches, in lines, functions and branches (llvm-cov source coverage).
#   fuzz/coverage.sh [COVERAGE_BUILD] [CORPUS_BUILD]
# The harnesses are built with source coverage in COVERAGE_BUILD (preset
# "coverage"), where they replay their folders as ordinary programs; the
# corpus is the seeds in fuzz/corpus/NAME plus what runs of fuzz/run.sh
# kept in CORPUS_BUILD/fuzz-corpus/NAME. Per-file reports land in
# COVERAGE_BUILD/fuzz-coverage-NAME.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-coverage}
corpus_build=${2:-build-sanitize}
llvm_profdata=$(command -v llvm-profdata || command -v llvm-profdata-14)
llvm_cov=$(command -v llvm-cov || command -v llvm-cov-14)

[ -f "$build/CMakeCache.txt" ] || cmake --preset coverage -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target channel_file_fuzzer conversion_fuzzer link_fuzzer >/dev/null

# The code under test of each harness; what it links besides (the rest of
# the core library, the simulated radio) is not counted.
declare -A tested=(
    [channel_file_fuzzer]="files/ChannelFile.cpp"
    [conversion_fuzzer]="core/Conversions.cpp"
    [link_fuzzer]="link/engine/RadioLink.cpp link/engine/LinkExchange.cpp link/engine/ReadExchange.cpp
                   link/engine/WriteExchange.cpp link/engine/PowerExchange.cpp"
)

for harness in channel_file_fuzzer conversion_fuzzer link_fuzzer; do
    binary="$build/fuzz/$harness"
    profile="$build/fuzz-coverage-$harness"
    folders=("fuzz/corpus/$harness")
    [ -d "$corpus_build/fuzz-corpus/$harness" ] && folders+=("$corpus_build/fuzz-corpus/$harness")
    rm -f "$profile".profraw
    LLVM_PROFILE_FILE="$profile.profraw" "$binary" "${folders[@]}" >/dev/null
    "$llvm_profdata" merge -sparse "$profile.profraw" -o "$profile.profdata"
    "$llvm_cov" report "$binary" -instr-profile="$profile.profdata" >"$profile.txt"
    # Sum the rows of the files under test. A row: file, regions, missed,
    # cover, functions, missed, executed, lines, missed, cover, branches,
    # missed, cover.
    # shellcheck disable=SC2086
    summary=$(awk -v files="$(echo ${tested[$harness]})" '
        BEGIN { n = split(files, wanted, " "); for (i = 1; i <= n; ++i) under[wanted[i]] = 1 }
        $1 in under { f += $5; mf += $6; l += $8; ml += $9; b += $11; mb += $12; ++found }
        END {
            if (found != n) { print "missing"; exit }
            printf "lines %d of %d (%.1f%%), functions %d of %d, branches %d of %d (%.1f%%)",
                   l - ml, l, 100 * (l - ml) / l, f - mf, f, b - mb, b, 100 * (b - mb) / b
        }' "$profile.txt")
    if [ "$summary" = missing ]; then
        echo "$harness: the report of $profile.txt lacks a file of: ${tested[$harness]}" >&2
        exit 1
    fi
    inputs=$(find "${folders[@]}" -type f | wc -l)
    # shellcheck disable=SC2086
    echo "$harness: $inputs inputs; $summary of" ${tested[$harness]}
done
