#!/usr/bin/env bash
# Qt 6.4.2 for 64-bit Windows (MinGW-w64, posix threads) in a cache folder
# outside the clone: QL540_WINDOWS_QT, or ~/.cache/ql540/qt-6.4.2-mingw.
# Prints that folder on its last line. Safe to run again: a finished folder
# is kept.
#
# Beside the project, ../shared/windows-qt/ holds Qt Base and Qt Serial Port
# prebuilt this way (QL540_WINDOWS_QT_ARCHIVE): it is unpacked. Without it,
# Qt Base is built from Debian's own source package and Qt Serial Port from
# its release archive (QL540_QTSERIALPORT_SRC); that takes about half an
# hour on two cores.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
# ../shared beside the clone (a worktree one level deeper finds it too).
shared="$here/../shared/windows-qt"
[ -d "$shared" ] || [ ! -d "$here/../../shared/windows-qt" ] || shared="$here/../../shared/windows-qt"
prefix="${QL540_WINDOWS_QT:-$HOME/.cache/ql540/qt-6.4.2-mingw}"
archive="${QL540_WINDOWS_QT_ARCHIVE:-$shared/qt6-mingw-6.4.2.tar.xz}"
serialport_src="${QL540_QTSERIALPORT_SRC:-$shared/qtserialport-everywhere-src-6.4.2.tar.xz}"
toolchain="$here/cmake/mingw-toolchain.cmake"
host=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

# A folder is finished once its stamp is written, last.
if [ -f "$prefix/.ql540-ready" ]; then
  echo "$prefix"
  exit 0
fi

if [ -f "$archive" ]; then
  rm -rf "$prefix.part"
  mkdir -p "$prefix.part"
  tar -xJf "$archive" -C "$prefix.part"
else
  echo "windows-qt: no prebuilt archive at $archive; building Qt from source" >&2
  [ -f "$serialport_src" ] || {
    echo "windows-qt: Qt Serial Port's source archive is missing: $serialport_src" >&2
    echo "(set QL540_QTSERIALPORT_SRC to qtserialport-everywhere-src-6.4.2.tar.xz)" >&2
    exit 1
  }
  work="$(mktemp -d "${TMPDIR:-/tmp}/ql540-qt.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  # Debian's source package needs a deb-src entry: the twin of the
  # configured Debian entry, in a list of our own.
  if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    [ "$(id -u)" -eq 0 ] || { echo "windows-qt: run as root to add a deb-src entry" >&2; exit 1; }
    src_list=/etc/apt/sources.list.d/ql540-deb-src.sources
    found=""
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$src_list" ] || continue
      # deb822 stanzas that carry Debian's main archive become deb-src twins.
      if grep -q '^Suites:.*bookworm' "$f" && grep -q '^Types:.*deb' "$f"; then
        awk 'BEGIN{RS=""; ORS="\n\n"} /Types:[^\n]*deb/ && /Suites:[^\n]*bookworm/ && !/security/ {
               sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >>"$src_list.tmp"
        found=1
      fi
    done
    if [ -z "$found" ] && [ -f /etc/apt/sources.list ]; then
      grep -E '^deb [^ ]+ bookworm ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
        >/etc/apt/sources.list.d/ql540-deb-src.list || true
    elif [ -n "$found" ]; then
      mv "$src_list.tmp" "$src_list"
    fi
    apt-get update -qq
  fi
  (cd "$work" && apt-get source -qq qt6-base)
  qtbase="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)"
  [ -n "$qtbase" ] || { echo "windows-qt: qt6-base source not unpacked" >&2; exit 1; }
  cmake -G Ninja -S "$qtbase" -B "$work/qtbase-build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix.part" \
    -DCMAKE_BUILD_TYPE=Release "${host[@]}" -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_icu=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF
  cmake --build "$work/qtbase-build"
  cmake --install "$work/qtbase-build"
  tar -xJf "$serialport_src" -C "$work"
  "$prefix.part/bin/qt-cmake" -G Ninja -S "$work/qtserialport-everywhere-src-6.4.2" \
    -B "$work/qsp-build" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" "${host[@]}" \
    -DCMAKE_BUILD_TYPE=Release
  cmake --build "$work/qsp-build"
  cmake --install "$work/qsp-build"
fi
rm -rf "$prefix"
mv "$prefix.part" "$prefix"
touch "$prefix/.ql540-ready"
echo "$prefix"
