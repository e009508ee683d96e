#!/usr/bin/env bash
# A careless operator's event on the real program: the disk fills in the middle of the draw,
# the event folder is read-only, a second copy is started on the same folder, and the first
# is killed. No winner shown is lost or drawn again, and the second copy changes nothing.
# A data/ linked out of the event folder is refused.
# Needs root for the small disks (tmpfs); exits 77 (skipped) without.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

# A: three rounds of one, B: one round of one; twelve entries, music off. With "wide", A has
# three rounds of thirty and every winner line the same length: a round of A takes 2151 bytes
# of the results file, so the second no longer fits in the file's first page of a small disk.
new_event() { # folder [wide]
    if [ "${2:-}" = wide ]; then
        numbered 100 '参与者编号%04d 电话138%08d' |
            write_event "$1" 'A`特等奖大礼包`a.png`1`90`30`\r\nB`二等奖`b.png`2`1`1`\r\n' \
                '[General]\nmuse=1\n'
    else
        numbered 12 '参与者%02d' |
            write_event "$1" 'A`一等奖`a.png`1`3`1`\r\nB`二等奖`b.png`2`1`1`\r\n' '[General]\nmuse=1\n'
    fi
}

files_of() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }

start_display 1280 800

scenario="the disk fills in the middle of the draw"
event=$work/full
small_disk "$event" 512k
new_event "$event" wide
all=$(seq -s, 1 30)
launch "$event"
round
wait_for_rounds "$event" "A1:$all"
dd if=/dev/zero of="$event/filler" bs=4k 2>/dev/null || true
round
answer '^警告$' # A2 is shown but not on disk
round
import -window root "$work/full-disk.png"
answer '^警告$' # and so is A3: told again
[ "$(rounds_of "$event")" = "A1:$all" ] || fail "rounds on a full disk: $(rounds_of "$event")"
rm "$event/filler"
wait_for_rounds "$event" "A1:$all A2:$all A3:$all" 60 # written by the retry, no press
cp "$event/data/_result.txt" "$work/recorded"
kill_program
launch "$event"
answer '^请确认$' space # the stray key keeps the draw
round # B
wait_for_rounds "$event" "A1:$all A2:$all A3:$all B1:1"
cmp -s -n "$(stat -c %s "$work/recorded")" "$work/recorded" "$event/data/_result.txt" ||
    fail "the rounds written after the disk came back changed"
press space
exit_by_menu
check_draw_written "$event" "A1:$all A2:$all A3:$all B1:1"
echo "$scenario: ok"

scenario="a read-only event folder"
event=$work/readonly
small_disk "$event" 1m
new_event "$event"
mount -o remount,ro "$event"
launch "$event"
wait_for_name '^警告$' # before any press
import -window root "$work/readonly-start.png"
answer '^警告$'
press space
answer '^警告$' # the start line
press space
answer '^警告$' # the round
choose_exit
answer '^请确认$' Left Return # the draw is not over: 退出 asks first
answer '^警告$' # nothing could be written: save elsewhere
open_box '^另存抽奖结果$'
xdotool key ctrl+a
xdotool type --delay 20 "$work/rescued.txt"
press Return
answer '^提示$'
# The options and the prize file cannot be written either: each is told on the way out.
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    focus_name '^警告$' && xdotool key Return
    sleep 0.2
done
wait_for_exit "the program did not exit through the menu"
rescued=$(iconv -f GBK -t UTF-8 "$work/rescued.txt") || fail "nothing saved elsewhere"
grep -q '^抽奖开始日期：' <<<"$rescued" || fail "the saved results have no start line"
[ "$(grep -c $'\tA\t一等奖\t1\t1\t参与者' <<<"$rescued")" -eq 1 ] ||
    fail "the saved results do not hold the round shown"
echo "$scenario: ok"

scenario="a second copy, then the first killed"
event=$work/twice
new_event "$event"
launch "$event"
round
wait_for_rounds "$event" "A1:1"
before=$(files_of "$event")
"$program" "$event" &
other_pid=$!
answer '^警告$'
status=0
wait "$other_pid" || status=$?
[ "$status" -eq 1 ] || fail "the second copy exited with $status"
[ "$(files_of "$event")" = "$before" ] || fail "the second copy changed files"
kill_program
launch "$event"
answer '^请确认$' space # the unfinished draw, not the other copy
round
wait_for_rounds "$event" "A1:1 A2:1"
choose_exit
answer '^请确认$' Left Return # the draw is not over: 退出 asks first
wait_for_exit "the program did not exit through the menu"
echo "$scenario: ok"

scenario="data/ is a link out of the folder"
event=$work/linked
new_event "$work/elsewhere"
mkdir -p "$event"
ln -s "$work/elsewhere/data" "$event/data"
before=$(files_of "$work/elsewhere")
status=0
"$program" --check "$event" >"$work/check.txt" || status=$?
[ "$status" -eq 1 ] && grep -q $'^warning\t.*活动文件夹以外' "$work/check.txt" ||
    fail "--check did not refuse the link ($status)"
start_program "$event"
answer '^警告$'
status=0
wait "$app_pid" || status=$?
[ "$status" -eq 1 ] || fail "the program went on with a linked data folder ($status)"
[ "$(files_of "$work/elsewhere")" = "$before" ] || fail "files outside the folder changed"
echo "$scenario: ok"
