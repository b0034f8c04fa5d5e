#!/usr/bin/env bash
# Starts the desktop program on its own demo draw feed (a new draw every 6 seconds). Without a
# display it runs under Xvfb for about 20 seconds and saves a screenshot of the window.
set -euo pipefail
cd "$(dirname "$0")/.."
export LANG=${LANG:-C.UTF-8}
app=build/zuohao
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app" --demo --demo-interval 6 "$@"
fi
shot="$PWD/run-screenshot.png"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  "$0" --demo --demo-interval 6 "${@:2}" &
  pid=$!
  sleep 20
  import -window root "$1"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' "$app" "$shot" "$@"
echo "screenshot: $shot"
