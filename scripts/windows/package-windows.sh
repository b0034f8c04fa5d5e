#!/usr/bin/env bash
# Cross-builds the desktop program and the command line tool for 64-bit Windows against Qt
# built from Debian's source (build-qt.sh, cached), runs the desktop program's tests under
# Wine (fresh prefix, Chinese locale, virtual X server), checks what the programs say about
# themselves (subsystem, version, manifest, icon), signs them when a certificate is named
# (sign.sh), packs the portable dist/zuohao-<version>-windows-x64.zip and builds the per-user
# installer dist/zuohao-<version>-setup.exe, which check-installer.sh then tries under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
root="$(cd "$ZUOHAO_WIN_DIR/../.." && pwd)"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
version=$(sed -n 's/^project(zuohao VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zuohao_need_locale zh_CN.UTF-8

qt=$("$ZUOHAO_WIN_DIR/build-qt.sh" | tail -1)
sqlite=$("$ZUOHAO_WIN_DIR/build-sqlite.sh" | tail -1)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-win-gui -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ZUOHAO_WIN_TOOLCHAIN" "${launcher[@]}" \
  -DCMAKE_PREFIX_PATH="$qt" -DQt6_DIR="$qt/lib/cmake/Qt6" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_AUTORCC_OPTIONS=--no-zstd \
  -DZUOHAO_GUI=ON -DZUOHAO_BENCH=OFF -DZUOHAO_FUZZ=OFF \
  -DZUOHAO_GTEST_SOURCE=/usr/src/googletest \
  -DSQLite3_INCLUDE_DIR="$sqlite/include" -DSQLite3_LIBRARY="$sqlite/lib/libsqlite3.a" >/dev/null
cmake --build build-win-gui -j"$jobs"

# The runtime the executables need next to them (for the tests and the zip).
mingw_dll() { x86_64-w64-mingw32-g++-posix -print-file-name="$1"; }
runtime=("$(mingw_dll libstdc++-6.dll)" "$(mingw_dll libgcc_s_seh-1.dll)"
  /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
qt_dlls=(Qt6Core Qt6Gui Qt6Widgets Qt6Network)
plugins=(platforms/qwindows styles/qwindowsvistastyle tls/qschannelbackend
  imageformats/qjpeg imageformats/qico)
# deploy FOLDER [more Qt DLLs]
deploy() {
  local dest=$1
  shift
  mkdir -p "$dest"
  cp "${runtime[@]}" "$dest/"
  for d in "${qt_dlls[@]}" "$@"; do cp "$qt/bin/$d.dll" "$dest/"; done
  for p in "${plugins[@]}"; do
    [ -f "$qt/plugins/$p.dll" ] || continue
    mkdir -p "$dest/$(dirname "$p")"
    cp "$qt/plugins/$p.dll" "$dest/$p.dll"
  done
}
deploy build-win-gui
deploy build-win-gui/tests Qt6Test # the test programs also need Qt Test

source "$ZUOHAO_WIN_DIR/wine-env.sh"
zuohao_wine_session_start
(cd build-win-gui && LC_ALL=zh_CN.UTF-8 ctest --output-on-failure -j"$jobs" --timeout 600) || {
  for f in build-win-gui/tests/gui_*.txt; do grep -q FAIL "$f" && cat "$f"; done
  exit 1
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"; zuohao_wine_prefix_end; zuohao_xvfb_end' EXIT
name="zuohao-$version-windows-x64"
deploy "$stage/$name"
cp build-win-gui/zuohao.exe build-win-gui/zuohao-cli.exe "$stage/$name/"
# The pushes to robots go over HTTPS: the zip must carry Qt's schannel TLS backend.
[ -f "$stage/$name/tls/qschannelbackend.dll" ] || { echo "tls/qschannelbackend.dll missing" >&2; exit 1; }
# Every program and library, not only the two programs: the runtime DLLs carry their
# symbols (libstdc++ alone drops from 24 MB to 2 MB).
find "$stage/$name" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
cp src/gui/app/resources/help.html "$stage/$name/help.html"
# For Notepad: UTF-8 with a byte order mark, CR LF line ends.
{
  printf '\xEF\xBB\xBF'
  sed 's/\r*$/\r/' scripts/package/README-zh.txt
} >"$stage/$name/README-zh.txt"
# Qt's own dialogs and buttons in Chinese: the program loads these from "translations" beside
# it. They come from Debian's qt6-translations-l10n (the same Qt version as the build).
qm_dir=/usr/share/qt6/translations
[ -f "$qm_dir/qtbase_zh_CN.qm" ] || { echo "missing $qm_dir/qtbase_zh_CN.qm (qt6-translations-l10n)" >&2; exit 1; }
mkdir -p "$stage/$name/translations"
for qm in qtbase_zh_CN.qm qtbase_zh_TW.qm; do
  if [ -f "$qm_dir/$qm" ]; then cp "$qm_dir/$qm" "$stage/$name/translations/"; fi
done
scripts/package/windows-licences.sh "$stage/$name" # LICENSE.txt, THIRD-PARTY.txt, licenses\

"$ZUOHAO_WIN_DIR/check-signing.sh" "$stage/$name/zuohao-cli.exe"
"$ZUOHAO_WIN_DIR/sign.sh" "$stage/$name/zuohao.exe" "$stage/$name/zuohao-cli.exe"

# What a double-click starts and what Explorer shows, as shipped (stripped, maybe signed): the
# desktop program a GUI program with icon, version and manifest; the command line tool a
# console program.
"$ZUOHAO_WIN_DIR/check-pe.py" "$stage/$name/zuohao.exe" --subsystem gui --version "$version" \
  --icon --manifest PerMonitorV2 --manifest Microsoft.Windows.Common-Controls --manifest UTF-8
"$ZUOHAO_WIN_DIR/check-pe.py" "$stage/$name/zuohao-cli.exe" --subsystem console \
  --version "$version" --manifest UTF-8
# README-zh.txt as older Notepad wants it, naming the oldest Windows the build runs on.
oldest=$(sed -n 's/^!define ZUOHAO_OLDEST_WINDOWS "\(.*\)"$/\1/p' build-win-gui/zuohao-product.nsh)
readme="$stage/$name/README-zh.txt"
[ -n "$oldest" ] || { echo "zuohao-product.nsh names no oldest Windows" >&2; exit 1; }
[ "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || { echo "$readme: no BOM" >&2; exit 1; }
! grep -qv $'\r$' "$readme" || { echo "$readme: a line without CR LF" >&2; exit 1; }
grep -qF "$oldest" "$readme" || { echo "$readme: does not name $oldest" >&2; exit 1; }

mkdir -p dist
rm -f "dist/$name.zip"
(cd "$stage" && zip -qr9 "$root/dist/$name.zip" "$name")
echo "dist/$name.zip"

# The installer: one File line for each file of the folder, and the matching Delete lines
# (the uninstaller removes only what was installed).
win_path() { printf '%s' "${1//\//\\}"; }
nsis_file_lists() {
  local d f
  echo '!macro InstallFiles'
  while read -r d; do
    printf '  SetOutPath "$INSTDIR%s"\n' "$(win_path "${d#.}")"
    find "$d" -maxdepth 1 -type f | sort | while read -r f; do
      printf '  File "%s"\n' "$PWD/${f#./}"
    done
  done < <(find . -type d | sort)
  echo '  SetOutPath "$INSTDIR"'
  echo '!macroend'
  echo '!macro RemoveFiles'
  find . -type f | sort | while read -r f; do printf '  Delete "$INSTDIR\\%s"\n' "$(win_path "${f#./}")"; done
  find . -mindepth 1 -type d | sort -r | while read -r d; do printf '  RMDir "$INSTDIR\\%s"\n' "$(win_path "${d#./}")"; done
  echo '!macroend'
}
files="$stage/files.nsh"
(cd "$stage/$name" && nsis_file_lists) >"$files"
setup="dist/zuohao-$version-setup.exe"
sign=()
[ -n "${ZUOHAO_SIGN_CERT:-}${ZUOHAO_SIGN_PASSWORD_FILE:-}" ] && sign=("-DSIGN=$ZUOHAO_WIN_DIR/sign.sh")
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 "-DFACTS=$root/build-win-gui/zuohao-product.nsh" "-DFILES=$files" \
  "-DOUTFILE=$root/$setup" "${sign[@]}" "$ZUOHAO_WIN_DIR/zuohao.nsi"
[ ${#sign[@]} -eq 0 ] && echo "unsigned: $(basename "$setup")"
rm -rf "$stage"
zuohao_wine_prefix_end
zuohao_xvfb_end
"$ZUOHAO_WIN_DIR/check-installer.sh" "$setup"
echo "$setup"
