#!/usr/bin/env bash
# Runs a command on a virtual X11 desktop of its own (Xvfb) with a private D-Bus session
# and an accessibility bus, as a desktop user's session would have them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
for tool in xvfb-run dbus-run-session xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  dbus-run-session -- bash "$here/accessibility_session.sh" "$@"
