#!/usr/bin/env bash
# Two screens: the operator's console maximized on the primary one, the draw on the other.
# A small draw run from the console's button and from the keys in either window, a dialog
# over the console, no menu on the audience screen, and exit through the console.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

# A: one round of three, B: two rounds of one; the audience sees bytes 10-13 as asterisks.
event=$work/event
numbered 12 '参与者%02d 138000000%02d' |
    write_event "$event" 'A`一等奖`a.png`1`3`3`\r\nB`二等奖`b.png`2`2`1`\r\n' \
        '[General]\nmuse=1\nhide=1\nhstart=10\nhend=13\n'

shot() { DISPLAY=$DISPLAY.$1 import -window root "$work/$2.png"; } # screen name
# Share of the area's pixels that the operators make white: the ready screen's blue, the
# console's light widgets and lists, the dark text in them.
share() { convert "$1" -crop "$2" +repage -alpha off "${@:3}" -format '%[fx:mean]' info:; }
blue=(-fuzz 3% -fill black +opaque '#094A74' -fill white -opaque '#094A74')
light=(-colorspace gray -threshold 80%)
dark=(-colorspace gray -threshold 50% -negate)
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
screen_of() { # window name
    xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name "$1")" |
        sed -n 's/^SCREEN=//p'
}
windows() { xdotool search --onlyvisible --name '.*' | sort; }
# The console's buttons on its maximized 1920x1080 window.
click_console() { # x y
    xdotool mousemove --screen 0 "$1" "$2" click 1
    sleep 0.3
}
big_button() { click_console 1436 507; }
about_button() { click_console 1316 599; }
exit_button() { click_console 1553 599; }
whole0=1920x1080+0+0
whole1=1366x768+0+0
names1=1366x400+0+180 # where screen 1 shows the names
round_list=900x370+30+680 # the console's list of the round on screen, lower left
results_list=900x240+985+650 # the console's list of every winner, right

start_display 1920 1080 1366 768
launch "$event"
wait_for_name '^抽奖控制台$'
[ "$(screen_of '^抽奖控制台$')" = 0 ] || fail "the console is not on screen 0"
[ "$(screen_of '^抽奖$')" = 1 ] || fail "the draw is not on screen 1"
shot 0 start0
shot 1 start1
# Mostly the ready screen's background on screen 1: no console covers it.
at_least "$(share "$work/start1.png" $whole1 "${blue[@]}")" 0.6 || fail "screen 1 is not the ready screen"
[ -z "$(zbarimg --raw -q "$work/start1.png")" ] || fail "a code on the ready screen without the option"
at_least "$(share "$work/start0.png" $whole0 "${light[@]}")" 0.7 || fail "screen 0 is not the console"

# The big button starts, the clicker's keys stop and go on, with the console focused; the
# space bar stops with the draw focused.
big_button
sleep 0.3
press Next
wait_for_rounds "$event" "A1:1,2,3"
sleep 0.2
shot 1 a1
[ "$(yellow_pixels "$work/a1.png" $names1)" -gt 5000 ] || fail "no names on screen 1"
press Right
focus_name '^抽奖$'
press space
wait_for_rounds "$event" "A1:1,2,3 B1:1"
sleep 0.2

# 关于 over the console, on screen 0, and nothing of it on screen 1.
shot 0 before0
shot 1 before1
about_button
wait_for_name '^关于$'
[ "$(screen_of '^关于$')" = 0 ] || fail "the about dialog is not on screen 0"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^关于$')")"
shot 0 about0
shot 1 about1
dialog=${WIDTH}x${HEIGHT}+$X+$Y
[ "$(area "$work/before0.png" "$dialog")" != "$(area "$work/about0.png" "$dialog")" ] ||
    fail "the about dialog is not drawn on screen 0"
[ "$(area "$work/before1.png" $whole1)" = "$(area "$work/about1.png" $whole1)" ] ||
    fail "screen 1 changed while the about dialog opened"
focus_name '^关于$'
press Escape
sleep 0.2
xdotool search --onlyvisible --name '^关于$' >/dev/null && fail "Escape left the about dialog open"

# A right click on the audience screen opens no menu while the console is there.
windows >"$work/windows"
xdotool mousemove --screen 1 600 300 click 3
sleep 0.7
windows | cmp -s - "$work/windows" || fail "a right click on screen 1 opened a window"
shot 1 clicked1
[ "$(area "$work/before1.png" $whole1)" = "$(area "$work/clicked1.png" $whole1)" ] ||
    fail "screen 1 changed at a right click"

# 交换屏幕 across the two X screens and back: each time both windows show on their new
# screens, and the choice is kept only then.
swap_screens() { # screen of the console's button, x, y; then the console's screen
    xdotool mousemove --screen "$1" "$2" "$3" click 1
    sleep 1.5
    local console=$4 draw=$((1 - $4)) geometry=("$whole0" "$whole1")
    [ "$(screen_of '^抽奖控制台$')$(screen_of '^抽奖$')" = "$console$draw" ] || fail "no swap"
    shot "$draw" swapped_draw
    shot "$console" swapped_console
    at_least "$(share "$work/swapped_draw.png" "${geometry[draw]}" "${blue[@]}")" 0.3 &&
        at_least "$(share "$work/swapped_console.png" "${geometry[console]}" "${light[@]}")" 0.7 ||
        fail "a screen shows neither the draw nor the console after the swap"
}
swap_screens 0 1792 599 1
grep -q '^audience=' "$event/prizedraw.ini" || fail "the swap was not kept"
swap_screens 1 1274 434 0

focus_name '^抽奖控制台$'
press space
sleep 0.3
press Next
wait_for_rounds "$event" "A1:1,2,3 B1:1 B2:1"
sleep 0.2
shot 0 last0
at_least "$(share "$work/last0.png" $round_list "${dark[@]}")" 0.0006 || # 200 pixels
    fail "the console lists no round"
press Down # the finished screen
sleep 0.3
shot 0 end0
shot 1 end1
# Five lines of winners, about a thousand dark pixels each of the list's 216000.
at_least "$(share "$work/end0.png" $results_list "${dark[@]}")" 0.0185 ||
    fail "the console does not list the five winners at the end"

exit_button
wait_for_exit "the program still runs after the console's 退出"

check_draw_written "$event" "A1:1,2,3 B1:1 B2:1"
[ -z "$(winners_of "$event" | grep -vE '^参与者[0-9]{2} 138[0-9]{8}$')" ] ||
    fail "a winner line names no full entry"
echo "two screens: 1 passed, 0 failed"
