#!/usr/bin/env bash
# A big event from its workbook to its first round, at each size asked (default 10000, 100000
# and 1000000 rows): a generated workbook imported with --import, checked with --check, then
# 30 names rolled under Xvfb at 1920x1080 with the CPU, frame pacing and peak memory measured
# (bench/roll_cpu.sh), and the round found in the results file.
#   bench/million_event.sh [ROWS...]
# Targets at 1,000,000: the whole program at most 250 MB resident; the roll's as roll_cpu.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
program=$build/bin/prizedraw
maker=$build/bin/make_workbook
[ -x "$program" ] && [ -x "$maker" ] || { echo "build first: $program, $maker" >&2; exit 2; }
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000 1000000)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds() { awk -v s="$1" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }'; }
ok=1

for rows in "${sizes[@]}"; do
  echo "== $rows rows"
  event=$work/event$rows
  mkdir -p "$event/data"
  printf '1`大奖`prize.png`1`30`30`\r\n' | iconv -f UTF-8 -t GBK >"$event/data/_prize.txt"

  start=$(date +%s.%N)
  "$maker" "$work/list$rows.xlsx" "$rows"
  echo "workbook:  $(du -h "$work/list$rows.xlsx" | cut -f1) written in $(seconds "$start") s"

  start=$(date +%s.%N)
  "$program" --import "$work/list$rows.xlsx" --columns 1,2,3 --header "$event" >"$work/import.txt"
  echo "import:    $(seconds "$start") s; $(grep -v '^duplicate	' "$work/import.txt" | tr '\t\n' '= ')"
  grep -qx "entries	$rows" "$work/import.txt" || { echo "FAIL: import did not write $rows entries"; ok=0; }

  start=$(date +%s.%N)
  "$program" --check "$event" >"$work/check.txt"
  echo "check:     $(seconds "$start") s; $(grep -m1 '^participants' "$work/check.txt" | tr '\t' '=')"
  grep -qx "participants	$rows" "$work/check.txt" || { echo "FAIL: check did not count $rows"; ok=0; }

  EVENT=$event CONSOLE=0 bench/roll_cpu.sh "$program" | tee "$work/roll.txt" | sed -n '2,$p' || ok=0
  winners=$(iconv -f GBK -t UTF-8 "$event/data/_result.txt" | grep -c '	大奖	' || true)
  echo "round:     $winners winners recorded"
  [ "$winners" = 30 ] || { echo "FAIL: the round did not record 30 winners"; ok=0; }
  peak=$(awk '/peak resident/ { print $4 }' "$work/roll.txt")
  if [ "$rows" -ge 1000000 ] && [ "${peak:-999}" -gt 250 ]; then
    echo "FAIL: more than 250 MB resident"
    ok=0
  fi
done
[ "$ok" = 1 ] && echo "all targets met"
[ "$ok" = 1 ]
