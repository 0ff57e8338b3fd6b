#!/usr/bin/env bash
# Times a full read and a full write against the simulated radio at 9600
# baud, through the command-line tool (the same engine as the windows).
# Usage: bench/transfer-time.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-3}
bin="$build/bin"
work=$(mktemp -d)
trap 'kill $sim 2>/dev/null || true; rm -rf "$work"' EXIT

coproc SIM { "$bin/ql540-radio-sim" --sample; }
sim=$SIM_PID
read -r port <&"${SIM[0]}"

# Elapsed milliseconds of a command.
millis() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N); echo $(((t1 - t0) / 1000000)); }

for i in $(seq "$runs"); do
  r=$(millis "$bin/ql540" read --quiet --port "$port" --output "$work/radio.chann")
  w=$(millis "$bin/ql540" write --quiet --port "$port" "$work/radio.chann")
  printf 'run %d: read %d ms, write %d ms\n' "$i" "$r" "$w"
done
