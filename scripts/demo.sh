#!/usr/bin/env bash
# The main job on the bundled sample draw file, through the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/zuohao-cli
sample=data/sample-draws.txt
echo "== 样例开奖文件 sample draw file: $sample (newest first)"
head -n 3 "$sample"
echo
echo "== 统计 statistics, group 9 (百十个), newest 5 draws (68 cells each)"
$cli stats --draws "$sample" --group 9 | tail -n 5
echo
echo "== 缩水 reduction: 百十个, banker 5, kill span 0, 杀对子"
$cli reduce --idx 9 --dan 0=5 --kua 0 --route 3 | head -n 1 | awk '{print NF " 注: " substr($0, 1, 120) " ..."}'
echo
echo "== 计划 plan replayed over the file: start after 60 draws, hot digits 1-6 of 百十个"
$cli plan --draws "$sample" --start-after 60 --idx 9 --check 0 --check 1 --check 2 --check 3 --check 4 --check 5 --cnt 0=23 | tail -n 12
echo
echo "== 监控 monitor replay over the file (newest 10 rows, then the log)"
base=$($cli reduce --idx 9 --dan 0=5 --kua 0 --route 3 | head -n 1)
$cli monitor --draws "$sample" --idx 9 --base "$base" --segment 10 --hits-low 1 --hits-high 30 --plan-length 3 --trigger 1 | grep -v '^LOG' | tail -n 10
$cli monitor --draws "$sample" --idx 9 --base "$base" --segment 10 --hits-low 1 --hits-high 30 --plan-length 3 --trigger 1 | grep '^LOG' | tail -n 5 || true
