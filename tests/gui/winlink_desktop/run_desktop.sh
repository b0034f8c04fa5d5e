#!/usr/bin/env bash
# Runs a command on a virtual X11 desktop of its own (Xvfb) with a private D-Bus session
# and an accessibility bus, as a desktop user's session would have them. With --no-bus
# first, the desktop has no D-Bus session (and so no accessibility bus) at all.
# The X server picks a free display number itself (-displayfd), so that several of these
# desktops can run side by side.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bus=1
if [ "${1:-}" = "--no-bus" ]; then bus=0; shift; fi
for tool in Xvfb dbus-run-session dbus-send xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
cleanup() { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
if [ "$bus" = 1 ]; then
  dbus-run-session -- bash "$here/accessibility_session.sh" "$@"
else
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/zuohao-no-bus "$@"
fi
