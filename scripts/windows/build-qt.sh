#!/usr/bin/env bash
# Builds Qt base for 64-bit Windows (mingw-w64) from Debian's own qt6-base source package, once,
# into a cache folder keyed on the package version and the configure flags. Debian's host Qt of
# the same version provides moc, rcc and uic. Prints the install prefix on its last line.
set -euo pipefail
source "$(dirname "$0")/common.sh"

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
flags=(
  -release -opensource -confirm-license -nomake examples -nomake tests
  -xplatform win32-g++ -qt-host-path /usr
  -no-opengl -no-icu -no-dbus -no-openssl -schannel
  -qt-zlib -qt-pcre -qt-harfbuzz -qt-freetype -qt-libpng -qt-libjpeg -no-zstd
  -no-feature-tabletevent -no-feature-sql -no-feature-printsupport -no-feature-concurrent
  -no-feature-xml -no-feature-vulkan
)
# Any edit of the toolchain file changes the key and so rebuilds Qt (hours on a busy machine):
# settings that only the project's own build needs belong in CMakeLists.txt, not there.
key=$(printf '%s\n' "$version" "${flags[@]}" "$(cat "$ZUOHAO_WIN_TOOLCHAIN")" | sha256sum | cut -c1-12)
prefix="$ZUOHAO_WIN_CACHE/qt-$version-$key"
prefix=${prefix//+/_}
if [ -f "$prefix/.done" ]; then
  echo "$prefix"
  exit 0
fi

echo "==> building Qt $version for Windows once (about 20 minutes on two idle cores, longer on a busy machine) into $prefix" >&2
jobs=${ZUOHAO_QT_JOBS:-$(nproc 2>/dev/null || echo 2)}
work="$ZUOHAO_WIN_CACHE/qt-src-$key"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
zuohao_fetch_source "qt6-base=$version" >&2
src=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
mkdir build && cd build
"../$src/configure" -prefix "$prefix" "${flags[@]}" -- \
  -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ZUOHAO_WIN_TOOLCHAIN" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_AUTORCC_OPTIONS=--no-zstd >&2
cmake --build . --parallel "$jobs" >&2
cmake --install . >&2
touch "$prefix/.done"
cd / && rm -rf "$work"
echo "$prefix"
