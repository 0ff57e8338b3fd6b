#!/usr/bin/env bash
# Writes one file into 1, 2, 4 and 8 simulated radios at once at the 9600
# baud pace through ql540 (one link per port on one event loop) and reports
# the wall time as a ratio to one radio, and the tool's CPU time and peak
# resident memory, with what each added radio costs. The simulators' own
# CPU time is not counted.
# Usage: bench/fleet-time.sh [BUILD_DIR] [RUNS] [COUNTS...]
set -euo pipefail
build=${1:-build}
runs=${2:-1}
shift $(($# > 2 ? 2 : $#))
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(1 2 4 8)
bin="$build/bin"
work=$(mktemp -d)
sims=()
cleanup() { [ ${#sims[@]} -gt 0 ] && kill "${sims[@]}" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

# The file: the sample radio's memory (the simulator saves it on exit).
"$bin/ql540-radio-sim" --sample --no-pace --dump "$work/fleet.chann" >/dev/null &
sleep 0.5; kill $!; wait $! 2>/dev/null || true

# Starts n paced simulators; their devices in ports[].
start_sims() {
  ports=()
  for i in $(seq "$1"); do
    "$bin/ql540-radio-sim" > "$work/port$i" &
    sims+=($!)
  done
  for i in $(seq "$1"); do
    while [ ! -s "$work/port$i" ]; do sleep 0.05; done
    ports+=(--port "$(head -1 "$work/port$i")")
  done
}
calc() { awk "BEGIN { print $1 }"; }
stop_sims() { kill "${sims[@]}" 2>/dev/null || true; wait "${sims[@]}" 2>/dev/null || true; sims=(); }

printf '%7s %9s %7s %9s %9s %16s %16s\n' radios wall_s ratio cpu_s rss_kib cpu_ms_per_radio rss_kib_per_radio
for n in "${counts[@]}"; do
  for r in $(seq "$runs"); do
    start_sims "$n"
    # elapsed, user, system, maximum resident set (KiB)
    /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$bin/ql540" write --quiet "${ports[@]}" "$work/fleet.chann" >/dev/null
    stop_sims
    read -r wall user sys rss < "$work/time"
    cpu=$(calc "$user + $sys")
    if [ "$n" = "${counts[0]}" ] && [ -z "${base_wall:-}" ]; then
      base_wall=$wall base_cpu=$cpu base_rss=$rss base_n=$n
    fi
    ratio=$(calc "$wall / $base_wall")
    if [ "$n" -gt "$base_n" ]; then
      cpu_per=$(calc "($cpu - $base_cpu) * 1000 / ($n - $base_n)")
      rss_per=$(calc "($rss - $base_rss) / ($n - $base_n)")
    else
      cpu_per=0 rss_per=0
    fi
    printf '%7d %9.2f %7.3f %9.2f %9d %16.1f %16.0f\n' "$n" "$wall" "$ratio" "$cpu" "$rss" "$cpu_per" "$rss_per"
  done
done
