#!/usr/bin/env bash
# What a screen reader finds in every window, read over AT-SPI in Chinese
# and in English: the program runs under Xvfb with a session bus of its
# own, its accessibility bridge on and the simulated radio on COM1, and
# scripts/accessibility-tree.py walks the menus and prints each window.
#   scripts/accessibility-tree.sh [BUILD_DIR] [OUTPUT_PREFIX]
# writes OUTPUT_PREFIX-zh.txt and OUTPUT_PREFIX-en.txt. Needs xvfb,
# at-spi2-core and python3-pyatspi (scripts/install-deps.sh).
# SHOTS=FOLDER also saves a screenshot after each window opened, SCREEN sets
# the virtual screen: at 200 %,
#   QT_SCALE_FACTOR=2 SCREEN=3200x2000x24 SHOTS=shots scripts/accessibility-tree.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=${2:-accessibility-tree}
screen=${SCREEN:-1600x1000x24}
shots=${SHOTS:+$(mkdir -p "$SHOTS" && cd "$SHOTS" && pwd)}

for language in zh en; do
  xvfb-run -a -s "-screen 0 $screen" dbus-run-session -- bash -c '
    set -e
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    bus=$!
    sleep 1
    data=$(mktemp -d) # no recovery offer from an earlier run
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_DATA_HOME="$data" "$1/bin/ql540-cps" --demo &
    program=$!
    /usr/bin/python3 "$2/accessibility-tree.py" "$3" ${5:+"$5"} > "$4" || status=$?
    kill "$program" "$bus" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    rm -rf "$data"
    exit "${status:-0}"
  ' _ "$build" "$here" "$language" "$out-$language.txt" "$shots"
  echo "$out-$language.txt"
done
