#!/usr/bin/env bash
# A new organiser's first hour on the real program: started without a folder, an event made
# in the chooser, three prizes typed in, a workbook with a header imported as guessed, a PNG
# background and a tune chosen in 选项, then a restart straight into the event and one round.
set -euo pipefail
program=$1
make_workbook=${2:-}
source "$(dirname "$0")/x_session.sh"
[ -x "$make_workbook" ] || { echo "make_workbook was not built: skipped"; exit 77; }

begin_session
# The user's documents and settings in a home of its own.
export HOME=$work/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"
event=$HOME/Documents/prizedraw/party

# Chinese text goes in through the clipboard: typing it makes xdotool remap a key for each
# character, and under load the program may read a key before its new mapping.
paste_text() {
    printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
    press ctrl+v
}

# Types a path into the file dialog that has just opened.
choose_file() { # title path
    open_box "$1"
    xdotool type --delay 10 "$2"
    press Return
}

start_display 1280 800
start_program
open_box '^选择活动$'
press ctrl+n
open_box '^新建活动$'
xdotool type --delay 20 "party"
press Return
answer '^警告$' # a new event has no prizes yet: one box says what to do
[ -s "$event/bg.jpg" ] && [ -s "$event/img/smile.png" ] && [ -s "$event/music/rolling.wav" ] &&
    [ -s "$event/music/ok.wav" ] && [ -f "$event/data/_prize.txt" ] || fail "the new event is incomplete"
grep -q '^layout=1' "$event/prizedraw.ini" || fail "a new event does not open in 大屏"

# Three prizes, each given only its title: the rest are the defaults.
menu_item Down 1 '^奖项列表$'
press Tab # 新增
for title in 一等奖 二等奖 三等奖; do
    press space
    open_box '^奖项编辑$'
    paste_text "$title"
    press Return
    focus_name '^奖项列表$'
done
"$make_workbook" "$work/people.xlsx" 50 >/dev/null
press Tab Tab Tab Tab space # from 新增 to 导入名单…
choose_file '^导入名单$' "$work/people.xlsx"
sleep 2 # read, guessed, read again
focus_name '^导入名单$'
press Return
focus_name '^奖项列表$'
press Escape
sleep 0.5
[ "$(iconv -f GBK -t UTF-8 "$event/data/_prize.txt" | tr -d '\r')" = "$(printf '1`一等奖``1`1`1`\n2`二等奖``2`1`1`\n3`三等奖``3`1`1`')" ] ||
    fail "prizes saved: $(iconv -f GBK -t UTF-8 "$event/data/_prize.txt")"
[ "$(head -n 1 "$event/data/_items.txt" | iconv -f GBK -t UTF-8 | tr -d '\r')" = "参与者1 13800000001" ] ||
    fail "the header or columns were not guessed: $(head -n 2 "$event/data/_items.txt" | iconv -f GBK -t UTF-8)"
[ "$(wc -l <"$event/data/_items.txt")" -eq 50 ] || fail "not 50 entries imported"

# The look and sound page: a PNG background and a tune, converted and put in place.
convert -size 640x400 gradient:navy-teal "$work/blue.png"
cp "$event/music/ok.wav" "$work/tune.wav"
cp "$event/bg.jpg" "$work/bg-before.jpg"
menu_item Up 3 '^选项$'
press ctrl+Tab space # 外观和声音, whose first 选择… (the background's) takes the focus
choose_file '^选择图片$' "$work/blue.png"
focus_name '^选项$'
press Tab Tab space # the rolling tune's 选择…
choose_file '^选择乐曲$' "$work/tune.wav"
focus_name '^选项$'
sleep 0.3
import -window root "$work/options.png"
press Return
focus_name '^抽奖$'
[ "$(identify -format '%m %w' "$event/bg.jpg")" = "JPEG 640" ] || fail "bg.jpg is not the chosen picture"
ls "$event"/bak_bg*.jpg >/dev/null 2>&1 || fail "the old background was not kept"
cmp -s "$event"/bak_bg*.jpg "$work/bg-before.jpg" || fail "the kept background is not the old one"
cmp -s "$event/music/rolling.wav" "$work/tune.wav" || fail "the rolling tune was not put in place"
ls "$event"/music/bak_rolling*.wav >/dev/null 2>&1 || fail "the old tune was not kept"

# 退出, and the program starts again straight into the last event's folder... given no folder
# it opens the chooser with the event first; Return opens it.
exit_by_menu
start_program
open_box '^选择活动$'
press Return
wait_for_window "$app_pid"
sleep 1
focus_name '^抽奖$'
round
wait_for_rounds "$event" "11:1"
import -window root "$work/round.png"
# Mid-draw, 退出 asks first, 否 by default: the show goes on.
choose_exit
answer '^请确认$'
sleep 0.3
kill -0 "$app_pid" || fail "退出 ended a draw in progress without asking"
choose_exit
answer '^请确认$' Left Return
wait_for_exit "退出 confirmed did not end the program"
grep -q 'party' "$HOME/.config/prizedraw/prizedraw.ini" || fail "the recent event is not in the user's settings"
! grep -q 'recentEvents' "$event/prizedraw.ini" || fail "the recent list went into the event"
