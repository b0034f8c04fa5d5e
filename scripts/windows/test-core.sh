#!/usr/bin/env bash
# Cross-builds the core, the command line tool and their tests for 64-bit Windows with
# mingw-w64 into build-win/, and runs the tests under Wine in a fresh Wine prefix.
set -euo pipefail
source "$(dirname "$0")/common.sh"
root="$(cd "$ZUOHAO_WIN_DIR/../.." && pwd)"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
sqlite=$("$ZUOHAO_WIN_DIR/build-sqlite.sh" | tail -1)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ZUOHAO_WIN_TOOLCHAIN" "${launcher[@]}" \
  -DCMAKE_EXE_LINKER_FLAGS="-static" \
  -DZUOHAO_GUI=OFF -DZUOHAO_BENCH=OFF -DZUOHAO_FUZZ=OFF \
  -DZUOHAO_GTEST_SOURCE=/usr/src/googletest \
  -DSQLite3_INCLUDE_DIR="$sqlite/include" -DSQLite3_LIBRARY="$sqlite/lib/libsqlite3.a" >/dev/null
cmake --build build-win -j"$jobs"

source "$ZUOHAO_WIN_DIR/wine-env.sh"
zuohao_wine_session_start
# The Windows tool prints what the Linux one prints.
if [ -x "$root/build/zuohao-cli" ]; then
  "$ZUOHAO_WIN_DIR/compare-cli.sh" "$root/build/zuohao-cli" "$root/build-win/zuohao-cli.exe" "$root/data"
else
  echo "==> build/zuohao-cli not built: the comparison with the Linux tool is left out"
fi

cd build-win
# The window link tests make windows: Wine draws them on the virtual X server.
ctest --output-on-failure -j"$jobs" --timeout 600
