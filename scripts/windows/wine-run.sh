#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest (the cross build's test emulator). The
# output goes through a file: Wine's own long-lived helpers that a test happens to start
# (services, device drivers, the desktop process) inherit that file instead of ctest's pipe,
# so ctest does not wait for them after the test has ended.
out=$(mktemp "${TMPDIR:-/tmp}/zuohao-wine-run.XXXXXX")
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
