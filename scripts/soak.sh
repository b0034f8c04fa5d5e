#!/usr/bin/env bash
# Runs the desktop program on its demo feed, fast, for N minutes and prints its resident memory
# and the draws it has taken over time; at the end the slope of the memory (KB per minute) over
# the first third and the last quarter of the run, and the steady-state RSS (the mean of the
# last quarter). Every history the program keeps is bounded or packed: every processed draw's
# number takes 12 bytes, the rest is held for a fixed number of draws, and SQLite's page cache
# (2 MB) fills as the archive grows. scripts/soak-draws.py feeds far faster and reports the
# memory after 1,000, 10,000 and 100,000 draws.
# usage: scripts/soak.sh [minutes] [demo interval in seconds] [poll interval in ms]
#        (defaults 35, 0.05 and 50)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-35}
interval=${2:-0.05}
poll=${3:-50}
exe=${ZUOHAO_EXE:-build/zuohao} # another build: ZUOHAO_EXE=path/to/zuohao
[ -x "$exe" ] || { echo "build the desktop program first (cmake --build build --target zuohao)" >&2; exit 1; }
tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$exe" --demo --demo-interval "$interval" \
  --poll-interval "$poll" --feed-log "$tmp/feed.log" >"$tmp/log" 2>&1 &
pid=$!
samples=$tmp/samples
: >"$samples"
echo "seconds  rss_kb  draws"
end=$((SECONDS + minutes * 60))
while [ $SECONDS -lt $end ]; do
  sleep 15
  kill -0 "$pid" 2>/dev/null || { echo "the program ended early:" >&2; cat "$tmp/log" >&2; exit 1; }
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  draws=$(grep -c '^entered' "$tmp/feed.log" || true)
  echo "$SECONDS $rss $draws" | tee -a "$samples"
done
# Least-squares slopes over the first third and the last quarter, and the mean of the last
# quarter.
awk '
  { t[NR] = $1; r[NR] = $2; d[NR] = $3 }
  function slope(from, to,   i, n, x, y, xx, xy) {
    for (i = from; i <= to; i++) { n++; x += t[i]; y += r[i]; xx += t[i] * t[i]; xy += t[i] * r[i] }
    return n < 2 ? 0 : (n * xy - x * y) / (n * xx - x * x) * 60
  }
  END {
    if (NR < 6) { print "too few samples"; exit 1 }
    third = int(NR / 3); quarter = int(NR / 4)
    for (i = NR - quarter + 1; i <= NR; i++) mean += r[i]
    printf "draws taken: %d\n", d[NR]
    printf "RSS slope, first third: %.1f KB/min; last quarter: %.1f KB/min\n", slope(1, third), slope(NR - quarter + 1, NR)
    printf "steady-state RSS (mean of the last quarter): %.1f MB\n", mean / quarter / 1024
  }' "$samples"
