#!/usr/bin/env bash
# make windows-test: the Windows build under Wine, in a throwaway prefix.
#   scripts/windows-test.sh WINDOWS_BUILD LINUX_BUILD QT
# 1. The suites below the windows, built for Windows (ctest, Wine as the
#    emulator), and the port setup and batch windows alone with a port list
#    given in advance (Wine lists none of the ports mapped here).
# 2. ql540.exe against the Linux simulator through COM5, a link in the
#    prefix to the simulator's pseudo-terminal: a read byte-identical to the
#    Linux tool's, the same through COM12 named COM12 and \\.\COM12,
#    write --verify, a silent radio, the port messages, Chinese output,
#    Ctrl+C.
# 3. The installer: silent install, the program in both languages under
#    Xvfb (screenshots in WINDOWS_BUILD/windows-test/), a read in the read
#    window, COM12 typed into the port setup window of a program started
#    with nothing on its command line and a read through it, a channel file
#    opened through its association, silent uninstall.
# Prints one line per check and "N passed, M failed" at the end.
set -uo pipefail
win="$(cd "$1" && pwd)"
linux="$(cd "$2" && pwd)"
qt="$3"
here="$(cd "$(dirname "$0")/.." && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")"
stage="$win/ql540-cps-$version"
setup="$win/ql540-cps-$version-setup.exe"
work="$win/windows-test"
sim="$linux/bin/ql540-radio-sim"
cli="$linux/bin/ql540"
rm -rf "$work"
mkdir -p "$work"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
# No prompts to fetch Wine's .NET and HTML engines: nothing here uses them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Qt's DLLs and the MinGW runtime for the test suites, which run from the
# build tree.
export WINEPATH="Z:${qt//\//\\}\\bin;Z:\\usr\\lib\\gcc\\x86_64-w64-mingw32\\12-posix;Z:\\usr\\x86_64-w64-mingw32\\lib"
export QT_PLUGIN_PATH="$qt/plugins"

passed=0
failed=0
ok() { echo "ok - $1"; passed=$((passed + 1)); }
not_ok() {
  echo "not ok - $1"
  [ -n "${2:-}" ] && echo "$2" | sed 's/^/    /'
  failed=$((failed + 1))
}
check() { # check NAME CONDITION-COMMAND...
  local name="$1"
  shift
  if "$@"; then ok "$name"; else not_ok "$name"; fi
}

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wineserver -k 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

# One virtual display for the whole run: Wine's server must start with one.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# Wine's server started apart, its output in a log of its own: a line that
# hangs up (the simulator's pseudo-terminal closing) makes it print its
# state, which is no part of a program's output.
start_wineserver() { wineserver -p >>"$work/wineserver.log" 2>&1; }
echo "# Wine prefix $WINEPREFIX"
mkdir -p "$WINEPREFIX"
start_wineserver
wineboot -i >/dev/null 2>&1

# Starts the simulator with the given options; sets sim_pid and sim_dev.
start_sim() {
  local out="$work/sim-$RANDOM"
  "$sim" "$@" >"$out" 2>"$out.log" </dev/null &
  sim_pid=$!
  pids+=("$sim_pid")
  for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
  sim_dev="$(head -n 1 "$out")"
  sim_log="$out.log"
}
stop_sim() { kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; }
com() { ln -sfn "$2" "$WINEPREFIX/dosdevices/$1"; }
# Text as the Linux tool prints it: Windows ends lines with CR LF.
unix_text() { tr -d '\r' <"$1"; }
wexe() { wine "$stage/ql540.exe" "$@"; }

# --- 1. The suites below the windows ------------------------------------
if (cd "$win" && ctest --output-on-failure -j 2 >"$work/ctest.log" 2>&1); then
  ok "Qt Core test suites under Wine ($(grep -o 'tests passed, [0-9]* tests failed out of [0-9]*' "$work/ctest.log" | tail -n 1))"
else
  not_ok "Qt Core test suites under Wine" "$(tail -n 30 "$work/ctest.log")"
fi
grep -q "100% tests passed, 0 tests failed out of [1-9]" "$work/ctest.log" || not_ok "the suites ran" "$(tail -n 5 "$work/ctest.log")"
# The batch window of the Windows build, alone under Wine: COM5 and \\.\COM5
# added are one row (its suite ran above; this names the check).
if (cd "$win/tests" && QT_QPA_PLATFORM=offscreen wine ./port_windows_tests.exe \
  theBatchWindowListsThePortsPresentAndTypedOnesOnce >"$work/batch-rows.log" 2>&1); then
  ok "the batch window given COM5 and \\\\.\\COM5 shows one row"
else
  not_ok "the batch window given COM5 and \\\\.\\COM5 shows one row" "$(tail -n 20 "$work/batch-rows.log")"
fi

# --- 2. ql540.exe against the Linux simulator ---------------------------
start_sim --sample --log
com com5 "$sim_dev"
"$cli" read --port "$sim_dev" --output "$work/linux-read.chann" >/dev/null 2>&1
wexe read --port COM5 --output "$work/wine-read.chann" >"$work/wine-read.out" 2>&1
rc=$?
check "read through COM5 exits 0" [ "$rc" -eq 0 ]
check "the read is byte-identical to the Linux tool's read" cmp -s "$work/linux-read.chann" "$work/wine-read.chann"
stop_sim

# Any COM number, by its name and by its device path: the radio as COM12.
start_sim --sample --log
com com12 "$sim_dev"
"$cli" read --port "$sim_dev" --output "$work/linux-read12.chann" >/dev/null 2>&1
for name in COM12 '\\.\COM12'; do
  rm -f "$work/wine-read12.chann"
  wexe read --port "$name" --output "$work/wine-read12.chann" >"$work/wine-read12.out" 2>&1
  rc=$?
  if [ "$rc" -eq 0 ] && cmp -s "$work/linux-read12.chann" "$work/wine-read12.chann"; then
    ok "read through --port $name is byte-identical to the Linux tool's read"
  else
    not_ok "read through --port $name (exit $rc)" "$(unix_text "$work/wine-read12.out" | tail -n 5)"
  fi
done
stop_sim

# write --verify of another image, then a Linux read shows it in the radio.
"$cli" show "$here/packaging/examples/sample.chann" >/dev/null 2>&1
start_sim --log
com com5 "$sim_dev"
wexe write --verify --port COM5 "$here/packaging/examples/sample.chann" >"$work/wine-write.out" 2>&1
rc=$?
check "write --verify through COM5 exits 0" [ "$rc" -eq 0 ]
"$cli" verify --port "$sim_dev" "$here/packaging/examples/sample.chann" >/dev/null 2>&1
check "the Linux tool verifies what ql540.exe wrote" [ $? -eq 0 ]
stop_sim

# The same message and exit code as on Linux, with the device's name the
# only difference.
same_as_linux() { # NAME LINUX-RC LINUX-FILE WINE-RC WINE-FILE LINUX-DEVICE WINE-DEVICE
  local l w
  l="$(unix_text "$3" | sed "s#$6#DEVICE#g")"
  w="$(unix_text "$5" | sed "s#$7#DEVICE#g")"
  if [ "$2" -eq "$4" ] && [ "$l" = "$w" ]; then ok "$1"; else
    not_ok "$1" "Linux ($2): $l
Wine ($4): $w"
  fi
}

# A silent radio: both tools wait out the four attempts side by side.
start_sim --silent --no-pace
silent_linux="$sim_dev"
start_sim --silent --no-pace
com com6 "$sim_dev"
"$cli" read --port "$silent_linux" --output "$work/silent-linux.chann" >/dev/null 2>"$work/silent-linux.err" &
linux_job=$!
wexe read --port COM6 --output "$work/silent-wine.chann" >/dev/null 2>"$work/silent-wine.err"
wine_rc=$?
wait "$linux_job"
linux_rc=$?
same_as_linux "a silent radio: the Linux tool's exit code and message" \
  "$linux_rc" "$work/silent-linux.err" "$wine_rc" "$work/silent-wine.err" "$silent_linux" COM6
check "a silent radio leaves no file" [ ! -e "$work/silent-wine.chann" ]

# A missing port.
"$cli" read --port /dev/ql540-no-such-port --output "$work/x.chann" >/dev/null 2>"$work/missing-linux.err"
linux_rc=$?
wexe read --port COM9 --output "$work/x.chann" >/dev/null 2>"$work/missing-wine.err"
wine_rc=$?
same_as_linux "a missing port: the Linux tool's exit code and message" \
  "$linux_rc" "$work/missing-linux.err" "$wine_rc" "$work/missing-wine.err" /dev/ql540-no-such-port COM9

# A busy port: another program holds it. Linux names the holder's lock
# file and process where it has them; Windows does not know them. Wine
# does not keep a COM port to one program, so there the port answers as
# Windows answers for a port in use: access denied (a link to a folder
# gives that answer).
start_sim --sample
"$cli" read --port "$sim_dev" --output "$work/holder-linux.chann" >/dev/null 2>&1 &
holder=$!
sleep 2
"$cli" read --port "$sim_dev" --output "$work/x.chann" >/dev/null 2>"$work/busy-linux.err"
linux_rc=$?
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
stop_sim
mkdir -p "$work/busy-port"
com com8 "$work/busy-port"
wexe read --port COM8 --output "$work/x.chann" >/dev/null 2>"$work/busy-wine.err"
wine_rc=$?
sed -i -E 's/ \(lock file .*\)\. Close/. Close/' "$work/busy-linux.err"
same_as_linux "a busy port: the Linux tool's exit code and message" \
  "$linux_rc" "$work/busy-linux.err" "$wine_rc" "$work/busy-wine.err" "$sim_dev" COM8

# A line lost half way (the cable pulled): the radio hangs up at block 100.
start_sim --sample --no-pace --hang-up-block 100
"$cli" read --port "$sim_dev" --output "$work/x.chann" >/dev/null 2>"$work/lost-linux.err"
linux_rc=$?
lost_linux="$sim_dev"
stop_sim
start_sim --sample --no-pace --hang-up-block 100
com com5 "$sim_dev"
wexe read --port COM5 --output "$work/x.chann" >/dev/null 2>"$work/lost-wine.err"
wine_rc=$?
same_as_linux "a lost line: the Linux tool's exit code and message" \
  "$linux_rc" "$work/lost-linux.err" "$wine_rc" "$work/lost-wine.err" "$lost_linux" COM5
stop_sim

# A device that refuses to be a serial line (not a terminal): the port
# error with the system's own reason, as on Linux.
com com7 /dev/null
"$cli" read --port /dev/null --output "$work/x.chann" >/dev/null 2>"$work/refused-linux.err"
linux_rc=$?
wexe read --port COM7 --output "$work/x.chann" >/dev/null 2>"$work/refused-wine.err"
wine_rc=$?
if [ "$linux_rc" -eq "$wine_rc" ] && [ "$(unix_text "$work/refused-wine.err" | head -n 3 | sed 's/COM7/DEVICE/')" = \
  "$(unix_text "$work/refused-linux.err" | head -n 3 | sed 's#/dev/null#DEVICE#')" ] &&
  unix_text "$work/refused-wine.err" | grep -q '^Reason: .'; then
  ok "a refused device: the port error, exit code $wine_rc"
else
  not_ok "a refused device: the port error" "$(cat "$work/refused-linux.err") / $(unix_text "$work/refused-wine.err")"
fi

# Chinese output is UTF-8, as the Linux tool's.
"$cli" --lang zh show "$here/packaging/examples/sample.chann" >"$work/zh-linux.out" 2>&1
wexe --lang zh show "$here/packaging/examples/sample.chann" >"$work/zh-wine.out" 2>&1
if [ "$(unix_text "$work/zh-wine.out" | sed 's#Z:\\#/#; s#\\#/#g')" = "$(sed 's#\\#/#g' "$work/zh-linux.out")" ] &&
  grep -q '信道' "$work/zh-wine.out"; then
  ok "Chinese output in UTF-8, the Linux tool's text"
else
  not_ok "Chinese output in UTF-8" "$(diff <(unix_text "$work/zh-wine.out") "$work/zh-linux.out" | head)"
fi

# Ctrl+C breaks off a read: the program ends at once, no file written.
start_sim --sample
com com5 "$sim_dev"
wine "$stage/ql540.exe" read --port COM5 --output "$work/ctrlc.chann" >/dev/null 2>&1 &
reader=$!
sleep 4
kill -INT "$reader"
for _ in $(seq 50); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$reader" 2>/dev/null; then
  not_ok "Ctrl+C breaks off a read"
  kill "$reader"
else
  wait "$reader"
  rc=$?
  # 130, as a shell reports a program that SIGINT ended on Linux.
  check "Ctrl+C breaks off a read (exit $rc), no file" test "$rc" -eq 130 -a ! -e "$work/ctrlc.chann"
fi
stop_sim

# --- 3. The installer ---------------------------------------------------
program_files="$WINEPREFIX/drive_c/Program Files/QL540 CPS"
data="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/QL540 CPS"
wine "$setup" /S >/dev/null 2>&1
check "silent install puts the program in Program Files" [ -f "$program_files/ql540-cps.exe" ]
check "the installer ships Qt's plugins and Chinese texts" \
  test -f "$program_files/platforms/qwindows.dll" -a -f "$program_files/translations/qtbase_zh_CN.qm"
check "Start menu entries" ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QL540 CPS/"*.lnk
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QL540 CPS' /v UninstallString >"$work/reg.out" 2>&1
check "listed in Apps & features" grep -q 'uninstall.exe' "$work/reg.out"

# Waits for a top-level window whose name matches; prints its id.
find_window() {
  local id=""
  for _ in $(seq "${2:-300}"); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)"
    [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}
shot() { import -window root "$work/$1.png"; }

start_sim --sample --log
com com5 "$sim_dev"
program_log="$work/program.log"
wine "$program_files/ql540-cps.exe" --port COM5 >"$program_log" 2>&1 &
program=$!
main="$(find_window 'QL540')"
if [ -n "$main" ]; then
  sleep 3
  shot main-zh
  title="$(xdotool getwindowname "$main")"
  check "the installed program starts in Chinese" [ "$title" != "${title//编程软件/}" ]
  # Language → English from the keyboard: the menu bar, its seventh entry.
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool key --delay 200 alt Right Right Right Right Right Right Down Down Return
  sleep 2
  shot main-en
  title="$(xdotool getwindowname "$main")"
  check "it switches to English" [ "$title" != "${title//program software/}" ]
  # Read from the radio (Ctrl+R), the window's Read button.
  xdotool key ctrl+r
  sleep 2
  shot read-window
  xdotool key space
  for _ in $(seq 300); do grep -q 'read block 253' "$sim_log" && break; sleep 0.1; done
  sleep 1
  shot read-done
  check "a read in the read window through COM5" grep -q 'read block 253' "$sim_log"
  xdotool key Return
  sleep 1
  check "the read is backed up in %APPDATA%\\QL540 CPS" ls "$data/backups/"read-*.chann
  kill "$program" 2>/dev/null
  wineserver -k 2>/dev/null
  wait "$program" 2>/dev/null
  start_wineserver
else
  not_ok "the installed program starts" "$(tail -n 20 "$program_log")"
fi
stop_sim

# Started with nothing on its command line: COM12 typed into the port
# setup window (Communication, the sixth entry of the menu bar; Tab from the
# chosen number to the list, Tab to the device field), then a read in the
# read window through it.
start_sim --sample --log
com com12 "$sim_dev"
wine "$program_files/ql540-cps.exe" >"$program_log" 2>&1 &
program=$!
main="$(find_window 'QL540')"
if [ -n "$main" ]; then
  sleep 3
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool key --delay 200 alt Right Right Right Right Right Return
  sleep 2
  xdotool key --delay 200 Tab Tab ctrl+a
  xdotool type --delay 100 COM12
  sleep 1
  shot port-setup
  xdotool key Return
  sleep 2
  shot port-chosen
  xdotool key ctrl+r
  sleep 2
  xdotool key space
  for _ in $(seq 300); do grep -q 'read block 253' "$sim_log" && break; sleep 0.1; done
  sleep 1
  shot read-com12
  check "COM12 typed into the port setup window, then a read through it in the read window" \
    grep -q 'read block 253' "$sim_log"
  kill "$program" 2>/dev/null
  wineserver -k 2>/dev/null
  wait "$program" 2>/dev/null
  start_wineserver
else
  not_ok "the installed program starts with nothing on its command line" "$(tail -n 20 "$program_log")"
fi
stop_sim

# A channel file double-clicked: Windows starts the program through the
# association; it opens the file and lists it among the recent files.
cp "$here/packaging/examples/sample.chann" "$work/double-clicked.chann"
wine start /unix "$work/double-clicked.chann" >/dev/null 2>&1
main="$(find_window 'QL540')"
sleep 3
shot opened-by-association
check "a .chann file opens through the association" grep -q 'double-clicked.chann' "$data/recent-files.txt"
wineserver -k 2>/dev/null
sleep 1
start_wineserver

wine "$program_files/uninstall.exe" /S >/dev/null 2>&1
for _ in $(seq 100); do [ -e "$program_files" ] || break; sleep 0.2; done
check "silent uninstall leaves no program files" [ ! -e "$program_files" ]
wine reg query 'HKLM\Software\Classes\.chann' >/dev/null 2>&1
check "the uninstall removes the association" [ $? -ne 0 ]

echo "# screenshots: $work/*.png"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
