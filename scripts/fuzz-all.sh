#!/usr/bin/env bash
# Runs every libFuzzer target for longer than the test suite does (default 10 minutes each),
# from its committed seed corpus; crashes and new inputs land in build/fuzz/.
# usage: scripts/fuzz-all.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
command -v clang++ >/dev/null || { echo "clang++ is needed for the fuzz targets" >&2; exit 1; }
cmake -S . -B build -DZUOHAO_FUZZ=ON >/dev/null
cmake --build build -j2 --target fuzz
targets=()
for exe in build/fuzz/fuzz_*; do
  [ -f "$exe" ] && [ -x "$exe" ] && targets+=("$(basename "$exe")")
done
status=0
for t in "${targets[@]}"; do
  echo "==> $t for ${seconds}s"
  mkdir -p "build/fuzz/$t-corpus"
  if ! (cd build/fuzz && "./$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
          -max_len=8192 -print_final_stats=1 -artifact_prefix="$t-" "$t-corpus" \
          "../../fuzz/corpus/$t"); then
    echo "!!! $t found a failure (see build/fuzz/$t-*)" >&2
    status=1
  fi
done
exit $status
