#!/usr/bin/env bash
# A fresh Wine prefix for one test run (so registry and files never leak between runs).
zuohao_wine_prefix_start() {
  ZUOHAO_WINE_TMP=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-wine.XXXXXX")
  export WINEPREFIX="$ZUOHAO_WINE_TMP/prefix"
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts while the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local t0=$SECONDS
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  echo "==> Wine prefix ready in $((SECONDS - t0)) s: $WINEPREFIX"
}

zuohao_wine_prefix_end() {
  [ -n "${ZUOHAO_WINE_TMP:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  rm -rf "$ZUOHAO_WINE_TMP"
  ZUOHAO_WINE_TMP=
}
