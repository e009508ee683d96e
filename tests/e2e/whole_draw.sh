#!/usr/bin/env bash
# Runs a whole small draw on the real program and checks what it leaves in the files.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x_session.sh"

begin_session
event=$work/event
# In the file out of draw order: B (order 2) then A (order 1).
numbered 40 '参与者%02d 1380000%04d' |
    write_event "$event" 'B`二等奖`b.png`2`3`3`\r\nA`一等奖`a.png`1`2`1`\r\n' \
        '[General]\nhide=0\nprint=1\nmuse=1\nhstart=3\nhend=6\n'
printf 'old results\r\n' >"$event/data/_result.txt"
start_display 1920 1080
launch "$event"
import -window root "$work/ready.png"

# A: two rounds of 1, B: one round of 3; each round is a start and a stop. A clicker's
# "next" keys advance like the space bar; its other keys, pressed while A's second round
# rolls, would stop it or move the draw on if they were taken for a press.
press space
sleep 0.4
press Next
wait_for_rounds "$event" "A1:1"
press Right
press Prior Left Up F5 shift+F5 b period
sleep 0.4
[ "$(rounds_of "$event")" = "A1:1" ] || fail "the clicker's other keys moved the draw on"
press Down
wait_for_rounds "$event" "A1:1 A2:1"
press space
sleep 0.4
press Next
wait_for_rounds "$event" "A1:1 A2:1 B1:1,2,3"
shot=$work/result.png
import -window root "$shot"
# The names add their yellow to what the ready screen shows, wherever the window sits.
screen=1920x1080+0+0
names=$(($(yellow_pixels "$shot" $screen) - $(yellow_pixels "$work/ready.png" $screen)))
[ "$names" -gt 2000 ] || fail "no names drawn on the result frame ($names yellow pixels)"
press space # the finished screen
exit_by_menu

data=$event/data
backups=("$data"/bak_result*.txt)
[ -f "${backups[0]}" ] || fail "no backup of the old results file"
grep -q 'old results' "${backups[0]}" || fail "the backup does not hold the old results"
check_draw_written "$event" "A1:1 A2:1 B1:1,2,3"
[ "$(head -c 2 "$data/_prize.txt")" = 'A`' ] || fail "the prize file is not in draw order"
grep -q '^print=1' "$event/prizedraw.ini" || fail "the print option was lost"
grep -q '^hend=6' "$event/prizedraw.ini" || fail "the masking range was lost"
echo "whole draw: 1 passed, 0 failed"
