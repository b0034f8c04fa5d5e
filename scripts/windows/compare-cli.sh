#!/usr/bin/env bash
# Runs the README's examples of the command line tool with the Linux build and with the
# Windows build under Wine, and fails unless stdout, stderr and the exit code are the same
# byte for byte. Usage: compare-cli.sh <linux zuohao-cli> <zuohao-cli.exe> <data folder>
set -uo pipefail
native=$1 windows=$2 data=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-cli-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
# A Chinese file name checks the wide command line and the UTF-8 code page.
cp "$data/sample-draws.txt" "$work/开奖号码.txt"

cases=(
  "reduce --idx 10 --route 3"
  "stats --draws $data/sample-draws.txt --group 9"
  "plan --draws $data/sample-draws.txt --start-after 60 --idx 9 --check 0"
  "monitor --draws $data/sample-draws.txt --idx 9 --base 012_345 --plan-length 3"
  "stats --draws $work/开奖号码.txt --group 10"
  "feed --out $work/feed.txt --count 120 --seed 7 --start 202612080001"
  "--help"
  "plan --help"
  "stats --draws $data/sample-draws.txt --group 9 --json"
  "reduce --idx 12"
  "stats --draws $work/no-such-file.txt --group 9"
  "frobnicate"
)
failed=0
for c in "${cases[@]}"; do
  read -r -a args <<<"$c"
  args=("${args[@]//_/ }")
  "$native" "${args[@]}" >"$work/l.out" 2>"$work/l.err"
  lcode=$?
  [ -f "$work/feed.txt" ] && mv "$work/feed.txt" "$work/l.feed"
  wine "$windows" "${args[@]}" >"$work/w.out" 2>"$work/w.err"
  wcode=$?
  [ -f "$work/feed.txt" ] && mv "$work/feed.txt" "$work/w.feed"
  if [ "$lcode" != "$wcode" ] || ! cmp -s "$work/l.out" "$work/w.out" ||
    ! cmp -s "$work/l.err" "$work/w.err"; then
    echo "DIFFERENT: zuohao-cli $c (exit $lcode on Linux, $wcode on Windows)"
    diff <(od -c "$work/l.out") <(od -c "$work/w.out") | head -5
    diff "$work/l.err" "$work/w.err" | head -5
    failed=1
  else
    echo "same: zuohao-cli $c (exit $lcode, $(wc -c <"$work/l.out") bytes)"
  fi
  if [ -f "$work/l.feed" ] || [ -f "$work/w.feed" ]; then
    cmp -s "$work/l.feed" "$work/w.feed" || { echo "DIFFERENT: the feed files"; failed=1; }
    rm -f "$work/l.feed" "$work/w.feed"
  fi
done
exit $failed
