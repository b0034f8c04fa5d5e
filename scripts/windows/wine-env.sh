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

# A virtual X server of our own for Wine's windows: no authority file and no TCP, the
# display number chosen by the server itself (-displayfd), so nothing depends on xauth or
# on lock files left in /tmp by earlier runs. Sets DISPLAY. ZUOHAO_XVFB_SCREEN sets the screen
# (WIDTHxHEIGHTxDEPTH).
zuohao_xvfb_start() {
  ZUOHAO_XVFB_DIR=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-xvfb.XXXXXX")
  Xvfb -displayfd 9 -screen 0 "${ZUOHAO_XVFB_SCREEN:-1920x1080x24}" -nolisten tcp 9>"$ZUOHAO_XVFB_DIR/display" \
    2>"$ZUOHAO_XVFB_DIR/xvfb.log" &
  ZUOHAO_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$ZUOHAO_XVFB_DIR/display" ] && break
    kill -0 "$ZUOHAO_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$ZUOHAO_XVFB_DIR/display" ]; then
    echo "==> Xvfb did not start:" >&2
    cat "$ZUOHAO_XVFB_DIR/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$ZUOHAO_XVFB_DIR/display")"
  unset XAUTHORITY
  echo "==> Xvfb on display $DISPLAY"
}

zuohao_xvfb_end() {
  [ -n "${ZUOHAO_XVFB_PID:-}" ] || return 0
  kill "$ZUOHAO_XVFB_PID" 2>/dev/null || true
  wait "$ZUOHAO_XVFB_PID" 2>/dev/null || true
  rm -rf "$ZUOHAO_XVFB_DIR"
  ZUOHAO_XVFB_PID=
}

# Everything the Wine runs need, and its cleanup at exit.
zuohao_wine_session_start() {
  zuohao_xvfb_start
  zuohao_wine_prefix_start
  trap 'zuohao_wine_prefix_end; zuohao_xvfb_end' EXIT
}
