#!/usr/bin/env bash
# Starts zuohao.exe --demo from the Windows zip under Wine (fresh prefix, Chinese locale,
# Xvfb of its own, a 1366x768 laptop screen unless ZUOHAO_XVFB_SCREEN says otherwise) and saves
# a screenshot of the screen after a while.
# usage: scripts/windows/demo-screenshot.sh [dist/zuohao-<version>-windows-x64.zip] [out.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
root="$(cd "$ZUOHAO_WIN_DIR/../.." && pwd)"
cd "$root"
zip=${1:-$(ls dist/zuohao-*-windows-x64.zip | tail -1)}
out=${2:-dist/wine-demo.png}
zuohao_need_locale zh_CN.UTF-8
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-zip.XXXXXX")
export ZUOHAO_XVFB_SCREEN=${ZUOHAO_XVFB_SCREEN:-1366x768x24}
source "$ZUOHAO_WIN_DIR/wine-env.sh"
zuohao_wine_session_start
trap 'zuohao_wine_prefix_end; zuohao_xvfb_end; rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
exe=$(ls "$unpacked"/*/zuohao.exe)
(cd "$(dirname "$exe")" && LC_ALL=zh_CN.UTF-8 timeout 60 wine ./zuohao.exe --demo --demo-interval 2 \
  >"$unpacked/zuohao.log" 2>&1) &
app=$!
sleep 25
kill -0 "$app" 2>/dev/null || { cat "$unpacked/zuohao.log"; echo "zuohao.exe ended early" >&2; exit 1; }
import -window root "$out"
kill "$app" 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "==> $out"
