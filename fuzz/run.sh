#!/usr/bin/env bash
# Runs every libFuzzer harness of a sanitizer build for a while and prints
# what each did: runs, coverage, corpus, findings.
#   fuzz/run.sh [BUILD_DIR] [SECONDS_EACH] [PROCESSES_EACH] [HARNESS...]
# A short run (CI): fuzz/run.sh build-sanitize 20. A long run on every
# core: fuzz/run.sh build-sanitize 14400 "$(nproc)".
# Inputs found are kept in BUILD_DIR/fuzz-corpus/NAME (the seeds in
# fuzz/corpus/NAME are only read); an input that breaks a property lands
# in BUILD_DIR/fuzz-findings/ and the script exits 1. Copy such an input
# into fuzz/corpus/NAME once it is mended: the tests replay it ever after.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
seconds=${2:-20}
processes=${3:-1}
shift $(($# < 3 ? $# : 3))
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(channel_file_fuzzer channel_csv_fuzzer conversion_fuzzer link_fuzzer)
findings="$build/fuzz-findings"
mkdir -p "$findings"

# One harness: its run, then one line of figures; exit 1 on a finding.
run_harness() {
    local harness=$1
    local binary="$build/fuzz/$harness"
    if [ ! -x "$binary" ]; then
        echo "$harness: not built (configure with the sanitize preset)" >&2
        return 2
    fi
    local corpus="$build/fuzz-corpus/$harness"
    mkdir -p "$corpus"
    local log="$build/fuzz-$harness.log"
    local parallel=()
    # A long run on several processes carries on past a finding and keeps them all.
    [ "$processes" -gt 1 ] && parallel=(-fork="$processes" -ignore_crashes=1)
    local before after code runs replay coverage features edges
    before=$(ls "$findings" | grep -c "^$harness-")
    "$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "${parallel[@]}" \
        -artifact_prefix="$findings/$harness-" "$corpus" "fuzz/corpus/$harness" >"$log" 2>&1
    code=$?
    after=$(ls "$findings" | grep -c "^$harness-")
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{s += $2} END {print s + 0}')
    [ "$runs" -eq 0 ] && runs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
    # Coverage of the whole corpus, counted the same way however it was run.
    replay=$("$binary" -runs=0 "$corpus" "fuzz/corpus/$harness" 2>&1)
    coverage=$(grep 'INITED' <<<"$replay" | grep -o 'cov: [0-9]*' | tail -1 | awk '{print $2}')
    features=$(grep 'INITED' <<<"$replay" | grep -o 'ft: [0-9]*' | tail -1 | awk '{print $2}')
    edges=$(grep -o '([0-9]* inline 8-bit counters)' <<<"$replay" | head -1 | awk '{print substr($1, 2)}')
    echo "$harness: ${runs:-0} runs in ${seconds} s x ${processes}, coverage ${coverage:-?} of ${edges:-?} edges," \
         "${features:-?} features, corpus $(ls "$corpus" | wc -l) inputs, findings $((after - before))"
    if [ "$code" -ne 0 ] || [ "$after" -ne "$before" ]; then
        grep -E 'fuzz property broken|ERROR: |SUMMARY' "$log" | head -5
        echo "  see $log and $findings" >&2
        return 1
    fi
    return 0
}

status=0
if [ "$processes" -eq 1 ]; then
    # Single-process runs (the short one of CI) go side by side: the
    # harnesses share the cores instead of waiting for each other.
    pids=()
    for harness in "${harnesses[@]}"; do
        run_harness "$harness" >"$build/fuzz-$harness.summary" 2>&1 &
        pids+=($!)
    done
    for i in "${!harnesses[@]}"; do
        wait "${pids[$i]}" || status=1
        cat "$build/fuzz-${harnesses[$i]}.summary"
    done
else
    for harness in "${harnesses[@]}"; do
        run_harness "$harness" || status=1
    done
fi
exit $status
