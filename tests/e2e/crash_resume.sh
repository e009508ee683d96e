#!/usr/bin/env bash
# Kills the real program (SIGKILL) while it rolls and with the prize list open; after each, a
# restart keeps every recorded round and every confirmed prize change, offers to go on, and
# going on ends the draw with each round recorded exactly once. A kill right after a stop is
# the careless operator's; every other moment is the resume unit test's.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

# A: two rounds of one, B: one round of one, C (with "c"): one of one.
new_event() { # folder [c]
    local prizes='A`一等奖`a.png`1`2`1`\r\nB`二等奖`b.png`2`1`1`\r\n'
    [ -z "${2:-}" ] || prizes+='C`三等奖`c.png`3`1`1`\r\n'
    numbered 12 '参与者%02d' | write_event "$1" "$prizes" '[General]\nmuse=1\n'
    launch "$1"
}

# Restarts, answers Yes to the offer with the space bar (Yes has the focus, so a stray press
# keeps the draw), checks that the recorded lines and the last round's names are still there,
# then presses on to the end and leaves through the menu.
resume_and_finish() { # event presses
    cp "$1/data/_result.txt" "$work/recorded"
    launch "$1"
    answer '^请确认$' space
    sleep 0.3
    import -window root "$work/resumed.png"
    local names
    names=$(yellow_pixels "$work/resumed.png" 1024x520+128+80)
    [ "$names" -gt 5000 ] || fail "no names on the screen after going on ($names yellow pixels)"
    cmp -s -n "$(stat -c %s "$work/recorded")" "$work/recorded" "$1/data/_result.txt" ||
        fail "recorded lines changed"
    for _ in $(seq "$2"); do press space; sleep 0.2; done
    wait_for_rounds "$1" "A1:1 A2:1 B1:1"
    press space # the finished screen
    exit_by_menu
    check_draw_written "$1" "A1:1 A2:1 B1:1"
    [ -z "$(find "$1/data" -name 'bak_result*')" ] || fail "the results file was set aside"
    echo "$scenario: ok"
}

start_display 1280 800

scenario="killed while rolling"
new_event "$work/rolling"
round
wait_for_rounds "$work/rolling" "A1:1"
press space; sleep 0.5 # A round 2 rolls
# A clicker's other keys: taken for a press, they would stop the roll or move the draw on.
press Prior Left Up F5 shift+F5 b period
[ "$(rounds_of "$work/rolling")" = "A1:1" ] || fail "the clicker's other keys moved the draw on"
kill_program
resume_and_finish "$work/rolling" 4

scenario="killed with the prize list open after a change"
event=$work/prizes
new_event "$event" c
round
wait_for_rounds "$event" "A1:1"
menu_item Down 1 '^奖项列表$'
press ctrl+End          # the last prize, C
press Tab Tab Tab space # 删除
answer '^请确认$' Left Return
focus_name '^奖项列表$'
press Escape # closed after a change: saved
for _ in $(seq 50); do grep -q '^C`' "$event/data/_prize.txt" || break; sleep 0.1; done
grep -q '^C`' "$event/data/_prize.txt" && fail "the deleted prize was not saved"
menu_item Down 1 '^奖项列表$'
kill_program
[ "$(grep -c '`' "$event/data/_prize.txt")" -eq 2 ] || fail "the prize change was lost"
resume_and_finish "$event" 4
echo "crash resume: 2 passed, 0 failed"
