#!/usr/bin/env bash
# The Debian package as a user gets it: made by CPack from this build,
# checked by lintian and the desktop and AppStream validators, unpacked into
# a scratch root and run from there.
# Usage: package-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/ql540-cps_*.deb)
echo "package: $(basename "$deb")"

fail() { echo "FAIL: $*"; exit 1; }

# What it holds and what it needs.
dpkg-deb --contents "$deb" >"$work/contents"
for path in ./usr/bin/ql540-cps ./usr/bin/ql540 ./usr/bin/ql540-radio-sim \
            ./usr/share/applications/ql540-cps.desktop \
            ./usr/share/metainfo/org.ql540.cps.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/ql540-cps.svg \
            ./usr/share/icons/hicolor/48x48/apps/ql540-cps.png \
            ./usr/share/icons/hicolor/256x256/apps/ql540-cps.png \
            ./usr/share/man/man1/ql540.1.gz ./usr/share/man/man1/ql540-cps.1.gz \
            ./usr/share/man/man1/ql540-radio-sim.1.gz ./usr/share/doc/ql540-cps/changelog.gz \
            ./usr/share/doc/ql540-cps/copyright; do
  grep -q " $path\$" "$work/contents" || fail "$path is not in the package"
done
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6serialport6 libqt6printsupport6 libc6 qt6-qpa-plugins; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

# Lintian's errors fail the test; its warnings are for the reader.
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || {
  cat "$work/lintian"; fail "lintian reports errors"; }
grep -c . "$work/lintian" | xargs echo "lintian lines (warnings, info):"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/ql540-cps.desktop" || fail "desktop entry"
grep -q '^Name\[zh_CN\]=' "$root/usr/share/applications/ql540-cps.desktop" || fail "no Chinese name"
grep -q '^Comment\[zh_CN\]=' "$root/usr/share/applications/ql540-cps.desktop" || fail "no Chinese comment"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.ql540.cps.metainfo.xml" >"$work/appstream" 2>&1 || {
  cat "$work/appstream"; fail "AppStream metadata"; }
zcat "$root/usr/share/man/man1/ql540.1.gz" | grep -q 'sheet' || fail "the ql540 man page lacks the sheet command"
zcat "$root/usr/share/man/man1/ql540.1.gz" | grep -q 'new channel file' || fail "the ql540 man page lacks the new command"
zcat "$root/usr/share/man/man1/ql540-cps.1.gz" | grep -q 'simulated radio' || fail "the ql540-cps man page lacks --demo"

# Run from the unpacked root, with the system's Qt.
bin="$root/usr/bin"
"$bin/ql540" --help | grep -q 'Usage: ql540' || fail "ql540 --help"
"$bin/ql540" show "$root/usr/share/doc/ql540-cps/examples/sample.chann" >"$work/show" || fail "ql540 show"
grep -q '446.00625' "$work/show" || { cat "$work/show"; fail "ql540 show lacks the sample's channel"; }
# The club list example into a new file: the UHF rows go in, the VHF ones are refused (code 4).
"$bin/ql540" new --output "$work/club.chann" >/dev/null || fail "ql540 new"
set +e
"$bin/ql540" import-csv "$root/usr/share/doc/ql540-cps/examples/county-club.csv" --into "$work/club.chann" \
  --partial >"$work/import" 2>&1
code=$?
set -e
[[ $code -eq 4 ]] || { cat "$work/import"; fail "importing the club list ended with $code"; }
grep -q '95 rows: 42 applied' "$work/import" || { cat "$work/import"; fail "the club list's import report"; }
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/ql540-cps" >"$work/gui.out" 2>"$work/gui.err"
code=$?
set -e
[[ $code -eq 1 ]] || fail "ql540-cps without a display ended with $code"
grep -q 'no display found' "$work/gui.err" || { cat "$work/gui.err"; fail "no-display message"; }
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/ql540-cps" --version | grep -q 'ql540-cps' ||
  fail "ql540-cps --version without a display"
# With a (virtual) display it starts and keeps running until stopped.
set +e
QT_QPA_PLATFORM=offscreen timeout 3 "$bin/ql540-cps" >"$work/run.out" 2>&1
code=$?
set -e
[[ $code -eq 124 ]] || { cat "$work/run.out"; fail "ql540-cps from the package ended with $code instead of running"; }
echo "package test passed"
