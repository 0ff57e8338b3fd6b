#!/usr/bin/env bash
# Puts the cross-built Windows programs together with what they load into
# one folder, then packs it twice: the installer
# BUILD/ql540-cps-VERSION-setup.exe (NSIS) and the portable
# BUILD/ql540-cps-VERSION-portable.zip.
#   scripts/windows-package.sh BUILD QT
# BUILD: the Windows build folder (make windows), QT: Qt for Windows.
set -euo pipefail
build="$(cd "$1" && pwd)"
qt="$2"
here="$(cd "$(dirname "$0")/.." && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
name="ql540-cps-$version"
stage="$build/$name"
objdump=x86_64-w64-mingw32-objdump
# Where the DLLs a program loads may come from: Qt, then the MinGW runtime.
dll_folders=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

rm -rf "$stage"
mkdir -p "$stage"/{platforms,styles,translations,examples}
cp "$build/bin/ql540-cps.exe" "$build/bin/ql540.exe" "$stage/"
# Qt takes its plugins from folders beside the program.
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's own texts (dialog buttons, context menus) in Chinese.
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
cp "$here/packaging/examples/sample.chann" "$stage/examples/"
cp "$here/packaging/copyright" "$stage/LICENSE.txt"

# Every DLL the programs and plugins load that Windows itself lacks,
# followed through the DLLs that load others.
pending=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
  file="${pending[0]}"
  pending=("${pending[@]:1}")
  while read -r dll; do
    [ -e "$stage/$dll" ] && continue
    for folder in "${dll_folders[@]}"; do
      if [ -f "$folder/$dll" ]; then
        cp "$folder/$dll" "$stage/"
        pending+=("$stage/$dll")
        break
      fi
    done
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done

# What the installer puts in and the uninstaller takes out, file by file.
files="$build/$name-files"
: >"$files.install.nsh"
: >"$files.uninstall.nsh"
(cd "$stage" && find . -type d | sort) | while read -r dir; do
  rel="${dir#./}"; rel="${rel#.}"
  win="${rel//\//\\}"
  echo "SetOutPath \"\$INSTDIR${win:+\\$win}\"" >>"$files.install.nsh"
  find "$stage/$rel" -maxdepth 1 -type f | sort | while read -r file; do
    echo "File \"$file\"" >>"$files.install.nsh"
    echo "Delete \"\$INSTDIR${win:+\\$win}\\$(basename "$file")\"" >>"$files.uninstall.nsh"
  done
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
  rel="${dir#./}"
  echo "RMDir \"\$INSTDIR\\${rel//\//\\}\"" >>"$files.uninstall.nsh"
done
echo 'SetOutPath "$INSTDIR"' >>"$files.install.nsh"

makensis -V2 -DVERSION="$version" -DFILES="$files" \
  -DICON="$build/packaging/windows/ql540-cps.ico" -DOUTFILE="$build/$name-setup.exe" \
  "$here/packaging/windows/installer.nsi"

rm -f "$build/$name-portable.zip"
(cd "$build" && zip -qr -9 "$name-portable.zip" "$name")
ls -l "$build/$name-setup.exe" "$build/$name-portable.zip"
