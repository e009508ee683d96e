#!/usr/bin/env bash
# A big list from a spreadsheet on the real program, as a careless operator imports it: into
# a read-only folder, then for real; then a round of thirty is drawn from it. A kill in the
# middle of the write is the write fault test's.
# Needs root for the read-only disk (tmpfs); exits 77 (skipped) without.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

rows=300000
# UTF-8 with a byte-order mark, a header, quoted fields with commas, a repeated row and
# entries longer than the old 32-byte limit that begin alike.
{
    printf '\xEF\xBB\xBF姓名,部门,手机\r\n'
    awk -v rows="$rows" 'BEGIN {
        for (i = 1; i <= rows; i++) {
            if (i == 1000) { print "\"参与者999, 总部\",销售部,13800000999\r"; continue }
            if (i % 100000 == 0) { printf "张三 销售部 上海分公司 市场二组 第%d号,长条目,1\r\n", i; continue }
            printf "\"参与者%d, 总部\",销售部,138%08d\r\n", i, i
        } }'
} >"$work/list.csv"

event=$work/event
printf '旧名单1\r\n旧名单2\r\n旧名单3\r\n' | write_event "$event" 'A`一等奖`a.png`1`30`30`\r\n' '[General]\nmuse=1\n'
old=$(md5sum <"$event/data/_items.txt")
import() { "$program" --import "$work/list.csv" --columns 1,2,3 --header "$1"; }

# Into a read-only folder: refused, said why.
readonly_event=$work/readonly
small_disk "$readonly_event" 8m
cp -r "$event/." "$readonly_event/"
mount -o remount,ro "$readonly_event"
status=0
import "$readonly_event" >"$work/readonly.txt" 2>&1 || status=$?
[ "$status" = 1 ] && [ -s "$work/readonly.txt" ] || fail "read-only import exited $status"
[ "$(md5sum <"$readonly_event/data/_items.txt")" = "$old" ] || fail "the read-only list changed"

import "$event" >"$work/summary.txt" || fail "the import failed"
grep -qx "entries	$rows" "$work/summary.txt" || fail "not $rows entries: $(head -3 "$work/summary.txt")"
grep -qx "duplicates	1" "$work/summary.txt" || fail "the repeated row was not counted"
grep -qx "cut	0" "$work/summary.txt" || fail "an entry was cut"
iconv -f GBK -t UTF-8 "$event/data/_items.txt" | tr -d '\r' | sort >"$work/entries.txt"
grep -qx '张三 销售部 上海分公司 市场二组 第200000号 长条目 1' "$work/entries.txt" ||
    fail "a long entry was not kept whole"


# A round of thirty drawn from the new list and recorded before it shows.
start_display 1920 1080
launch "$event"
# Loaded, it warns of the repeated row.
for _ in $(seq 300); do
    xdotool search --onlyvisible --name '^警告$' >/dev/null 2>&1 && break
    sleep 0.1
done
answer '^警告$'
press space
sleep 1
press space
sleep 1
winners_of "$event" >"$work/winners.txt"
[ "$(wc -l <"$work/winners.txt")" = 30 ] || fail "not 30 winners recorded"
sort -u "$work/winners.txt" | comm -23 - "$work/entries.txt" | grep -q . &&
    fail "a winner is not an entry of the list"
echo "big list: imported and drawn"
