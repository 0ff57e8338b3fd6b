#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run.
# Safe to run again: it only installs what is missing.
#   scripts/install-deps.sh            for Linux (make run, make test)
#   scripts/install-deps.sh windows    and for the Windows build (make windows...)
set -euo pipefail

# clang with its sanitizer and libFuzzer runtimes and llvm-symbolizer serve
# the sanitizer build and the fuzzers (make sanitize-test, make fuzz-short).
# clang-format checks the style (scripts/check-format.sh).
# GNU time measures the fleet benchmark (bench/fleet-time.sh).
packages=(
  build-essential cmake ninja-build pkg-config ccache libgtest-dev
  clang libclang-rt-14-dev llvm clang-format
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6
  libgl-dev libxkbcommon-dev
  qt6-qpa-plugins
  # Qt's own dialogs and buttons in Chinese (file dialogs, print preview,
  # message box buttons).
  qt6-translations-l10n
  # What a screen reader finds, read over AT-SPI (scripts/accessibility-tree.sh).
  at-spi2-core python3-pyatspi dbus-daemon
  xvfb xauth imagemagick fonts-noto-cjk
  # The Debian package (make package) and its checks: icons from the SVG,
  # man pages from --help, package and metadata validators; poppler reads
  # the printed channel sheet back in the tests.
  dpkg-dev file librsvg2-bin help2man desktop-file-utils appstream lintian
  poppler-utils
  time
)

# The Windows build: the 64-bit MinGW-w64 compilers with posix threads (the
# part of mingw-w64 it uses), NSIS and zip for the installer and the
# portable folder, Wine to test it, xdotool to work its windows. (Qt's own
# Chinese texts it ships come with the list above.)
windows_packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  nsis zip wine wine64 xdotool
)
if [ "${1:-}" = windows ]; then
  packages+=("${windows_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or install them with sudo apt-get install)." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
