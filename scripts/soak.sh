#!/usr/bin/env bash
# Runs the desktop program on its demo feed (one new draw a second) for N minutes and prints
# its resident memory over time and the slope of it (KB per minute, after the first minute).
# usage: scripts/soak.sh [minutes]   (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-15}
exe=${ZUOHAO_EXE:-build/zuohao} # another build: ZUOHAO_EXE=path/to/zuohao
[ -x "$exe" ] || { echo "build the desktop program first (cmake --build build --target zuohao)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$exe" --demo --demo-interval 1 >"$tmp/log" 2>&1 &
pid=$!
samples=$tmp/samples
: >"$samples"
end=$((SECONDS + minutes * 60))
while [ $SECONDS -lt $end ]; do
  sleep 15
  kill -0 "$pid" 2>/dev/null || { echo "the program ended early:" >&2; cat "$tmp/log" >&2; exit 1; }
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  echo "$SECONDS $rss" | tee -a "$samples"
done
# Least-squares slope over the samples after the first minute (start-up settles there).
awk -v start="$(head -1 "$samples" | cut -d' ' -f1)" '
  $1 >= start + 60 { n++; x += $1; y += $2; xx += $1 * $1; xy += $1 * $2 }
  END {
    if (n < 2) { print "too few samples for a slope"; exit 1 }
    slope = (n * xy - x * y) / (n * xx - x * x) * 60
    printf "RSS slope: %.1f KB/min over %d samples (%.1f KB/hour)\n", slope, n, slope * 60
  }' "$samples"
