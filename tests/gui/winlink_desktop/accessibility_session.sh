#!/usr/bin/env bash
# Inside the D-Bus session: starts the accessibility bus, waits until it answers, runs the
# command and stops the bus again.
set -uo pipefail
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher \
                 /usr/lib/at-spi2/at-spi-bus-launcher; do
  [ -x "$candidate" ] && { launcher=$candidate; break; }
done
[ -n "$launcher" ] || { echo "missing: at-spi-bus-launcher" >&2; exit 1; }
# The bus runs, but accessibility is not switched on for every program: a program is on the
# bus only when it asks to be (QT_LINUX_ACCESSIBILITY_ALWAYS_ON for the test's target).
"$launcher" --launch-immediately --a11y=0 &
launcher_pid=$!
address=""
for _ in $(seq 100); do
  address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$address" ] && break
  sleep 0.1
done
[ -n "$address" ] || { echo "the accessibility bus did not start" >&2; kill "$launcher_pid"; exit 1; }
"$@"
rc=$?
kill "$launcher_pid" 2>/dev/null
wait "$launcher_pid" 2>/dev/null
exit $rc
