#!/usr/bin/env bash
# Kills the real program (SIGKILL) at three moments of a draw; after each, a restart keeps
# every recorded round and every confirmed prize change, offers to go on, and going on ends
# the draw with each round recorded exactly once.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x_session.sh"

begin_session

# A: two rounds of one, B: one round of one, C (only in the prize list scenario): one of one.
new_event() { # folder with_c
    local prizes='A`一等奖`a.png`1`2`1`\r\nB`二等奖`b.png`2`1`1`\r\n'
    [ "$2" = no ] || prizes+='C`三等奖`c.png`3`1`1`\r\n'
    for i in $(seq 1 12); do printf '参与者%02d\r\n' "$i"; done |
        write_event "$1" "$prizes" '[General]\nmuse=1\n'
}

open_prize_list() {
    xdotool mousemove 50 50 click 3
    sleep 0.5
    press Down Return
    wait_for_name '^奖项列表$'
}

# Restarts, answers Yes to the offer with the space bar (Yes has the focus, so a stray
# press keeps the draw) and checks that the recorded lines are all still there.
restart_and_continue() { # event
    cp "$1/data/_result.txt" "$work/recorded"
    launch "$1"
    answer '^请确认$' space
    sleep 0.3
    # The last round's result is on the screen, names above the status lines.
    import -window root "$work/resumed.png"
    local names
    names=$(yellow_pixels "$work/resumed.png" 1024x520+128+80)
    [ "$names" -gt 5000 ] || fail "no names on the screen after going on ($names yellow pixels)"
    cmp -s -n "$(stat -c %s "$work/recorded")" "$work/recorded" "$1/data/_result.txt" ||
        fail "recorded lines changed"
}

# Presses on to the end, leaves through the menu and checks the results file.
finish_and_check() { # event presses expected_rounds
    for _ in $(seq "$2"); do press space; sleep 0.2; done
    wait_for_rounds "$1" "$3"
    press space # the finished screen
    choose_exit
    wait_for_exit "the program did not exit through the menu"
    local text
    text=$(results_text "$1")
    [ "$(grep -c '^抽奖开始日期：' <<<"$text")" -eq 1 ] || fail "not one start line"
    [ "$(grep -c '^抽奖结束日期：' <<<"$text")" -eq 1 ] || fail "not one end line"
    tail -n 1 <<<"$text" | grep -q '^抽奖结束日期：' || fail "the end line is not last"
    [ -z "$(find "$1/data" -name 'bak_result*')" ] || fail "the results file was set aside"
}

start_display 1280 800

scenario="killed while rolling"
event=$work/rolling
new_event "$event" no
launch "$event"
press space; sleep 0.3; press space # A round 1
wait_for_rounds "$event" "A1:1"
press space; sleep 0.5 # A round 2 rolls
kill_program
restart_and_continue "$event"
finish_and_check "$event" 4 "A1:1 A2:1 B1:1"
echo "$scenario: ok"

scenario="killed right after a stop"
event=$work/stopped
new_event "$event" no
launch "$event"
press space; sleep 0.3; press space
press space; sleep 0.3; press space # A round 2 stops
wait_for_rounds "$event" "A1:1 A2:1"
kill_program
restart_and_continue "$event"
finish_and_check "$event" 2 "A1:1 A2:1 B1:1"
echo "$scenario: ok"

scenario="killed with the prize list open after a change"
event=$work/prizes
new_event "$event" yes
launch "$event"
press space; sleep 0.3; press space
wait_for_rounds "$event" "A1:1"
open_prize_list
press ctrl+End              # the last prize, C
press Tab Tab Tab space     # 删除
wait_for_name '^请确认$'
focus_name '^请确认$'
press Left Return # 是
focus_name '^奖项列表$'
press Escape                # closed after a change: saved
for _ in $(seq 50); do grep -q '^C`' "$event/data/_prize.txt" || break; sleep 0.1; done
grep -q '^C`' "$event/data/_prize.txt" && fail "the deleted prize was not saved"
open_prize_list
kill_program
grep -q '^C`' "$event/data/_prize.txt" && fail "the prize change was lost"
[ "$(grep -c '`' "$event/data/_prize.txt")" -eq 2 ] || fail "the prize file lost a prize"
restart_and_continue "$event"
finish_and_check "$event" 4 "A1:1 A2:1 B1:1"
echo "$scenario: ok"

echo "crash resume: 3 passed, 0 failed"
