#!/usr/bin/env bash
# Start-up of the program against a bare Qt MDI window with a table of the
# channel grid's shape (bench/startup/BareWindow.cpp), as a ratio, from one
# run of both side by side: RUNS pairs, interleaved (bare first in odd
# pairs, the program first in even ones, so that drift in the machine's
# load falls on both alike), under one Xvfb server. Xvfb rather than the
# offscreen platform: under it both start as on a Linux desktop (the xcb
# platform and its theme, icon theme look-ups, a window that is mapped and
# exposed); offscreen has no icon theme and would hide just such costs.
#
# Timed: from the moment the shell starts the process to the first frame
# of its main window: "mapped" is when the program handles the main
# window's first expose (the X server has mapped it and the program has
# finished what it did before), "painted" when that frame is drawn. A probe
# preloaded into both programs (bench/startup/StartupProbe.cpp) takes the
# times and ends the program; the program carries nothing for it.
#
# "processor" is the processor time (user and system) each had used by its
# first frame: less at the mercy of other work on the machine than the
# wall-clock times, though it leaves out the X server's share.
#
# With strace installed it also counts the file look-ups of one start of
# each that found nothing, and those of icons asked of the icon theme.
#
# Usage: bench/startup-time.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-15}
bin="$build/bin"

if [ -z "${QL540_BENCH_UNDER_XVFB:-}" ]; then
  cmake --build "$build" --target ql540-cps ql540-bare-window ql540-startup-probe >/dev/null
  # A fresh home: no settings, no recovery files, the same for every run.
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  # Through a file: a reader that stops early (| head) must not end
  # xvfb-run before it has stopped its server.
  status=0
  QL540_BENCH_UNDER_XVFB=1 HOME="$home" XDG_RUNTIME_DIR="$home" \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build" "$runs" >"$home/report" || status=$?
  cat "$home/report"
  exit "$status"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
probe="$bin/ql540-startup-probe.so"

# One start of program $1; appends "name start mapped painted processor"
# (µs) to times.
start_one() {
  local t0
  t0=${EPOCHREALTIME/[.,]/}
  QL540_STARTUP_PROBE="$work/probe" LD_PRELOAD="$probe" "$bin/$1" >/dev/null 2>&1
  read -r mapped painted processor <"$work/probe"
  rm -f "$work/probe"
  echo "$1 $t0 $mapped $painted $processor" >>"$work/times"
}

# Caches warm, the recovery folder made: these two are not counted.
start_one ql540-bare-window
start_one ql540-cps
: >"$work/times"
for i in $(seq "$runs"); do
  if ((i % 2)); then
    start_one ql540-bare-window
    start_one ql540-cps
  else
    start_one ql540-cps
    start_one ql540-bare-window
  fi
done

echo "Start-up to the main window's first frame, $runs runs of each, interleaved (Xvfb, load $(cut -d' ' -f1-3 /proc/loadavg)):"
awk '
  function sort(a, n,   i, j, t) { for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j > 0 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t } }
  function median(a, n) { sort(a, n); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
  # Median, then the least and the most (a sorted by median).
  function ms(a, n,   m) { m = median(a, n); return sprintf("%6.1f ms (%.1f–%.1f)", m, a[1], a[n]) }
  function ratio(a, n,   m) { m = median(a, n); return sprintf("x%.2f (x%.2f–x%.2f)", m, a[1], a[n]) }
  {
    k = $1 == "ql540-cps" ? "p" : "b"
    n[k]++
    mapped[k, n[k]] = ($3 - $2) / 1000
    painted[k, n[k]] = ($4 - $2) / 1000
    cpu[k, n[k]] = $5 / 1000
  }
  END {
    for (w = 0; w < 2; w++) {
      k = w ? "p" : "b"
      for (i = 1; i <= n[k]; i++) { m[i] = mapped[k, i]; q[i] = painted[k, i]; c[i] = cpu[k, i] }
      printf "  %-18s mapped %s, painted %s, processor %s\n", w ? "ql540-cps" : "bare Qt window", ms(m, n[k]), ms(q, n[k]), ms(c, n[k])
      med_m[k] = median(m, n[k]); med_p[k] = median(q, n[k]); med_c[k] = median(c, n[k])
      least_m[k] = m[1]; least_p[k] = q[1]; least_c[k] = c[1] # sorted by median
    }
    # Each pair: the bare window and the program started one after the other.
    for (i = 1; i <= n["p"]; i++) { m[i] = mapped["p", i] / mapped["b", i]; q[i] = painted["p", i] / painted["b", i]; c[i] = cpu["p", i] / cpu["b", i] }
    printf "  ratio, pair by pair:  mapped %s, painted %s, processor %s\n", ratio(m, n["p"]), ratio(q, n["p"]), ratio(c, n["p"])
    printf "  ratio of the medians: mapped x%.2f, painted x%.2f, processor x%.2f\n", med_m["p"] / med_m["b"], med_p["p"] / med_p["b"], med_c["p"] / med_c["b"]
    # The least times are those least disturbed by other work on the machine.
    printf "  ratio of the least:   mapped x%.2f, painted x%.2f, processor x%.2f\n", least_m["p"] / least_m["b"], least_p["p"] / least_p["b"], least_c["p"] / least_c["b"]
  }' "$work/times"

if command -v strace >/dev/null; then
  echo "File look-ups of one start that found nothing (strace):"
  for program in ql540-bare-window ql540-cps; do
    timeout 60 strace -f -qq -e trace=file -o "$work/trace" -E QL540_STARTUP_PROBE="$work/probe" \
      -E LD_PRELOAD="$probe" "$bin/$program" >/dev/null 2>&1
    failed=$(grep -c ENOENT "$work/trace" || true)
    icons=$(grep ENOENT "$work/trace" | grep '/icons/' | grep -vc '/cursors/' || true)
    printf '  %-18s %5d, %5d of them icons asked of the icon theme\n' "$program" "$failed" "$icons"
  done
else
  echo "(strace not installed: file look-ups not counted)"
fi
