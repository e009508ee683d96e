#!/usr/bin/env bash
# The 大屏 look on the real program at 1920x1080, in each theme: rounds of 1, 10 and 30
# names (the last from a prize asking 50 a round), the reveal and a press that cuts it short
# (how the screen settles then is the draw window's unit test).
# With SHOTS=FOLDER the screens are also kept there as JPEG files for the README.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

make_event() { # folder theme
    mkdir -p "$1/data" "$1/img"
    printf 'A`特等奖 新能源汽车`car.png`1`1`1`\r\nB`一等奖 笔记本电脑``2`10`10`\r\nC`幸运奖``3`30`50`\r\n' |
        gbk >"$1/data/_prize.txt"
    local family=(王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭)
    local given=(伟 芳 娜 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀 霞 平)
    for i in $(seq 0 79); do
        printf '%s%s%s\r\n' "${family[i % 16]}" "${given[i % 20]}" "${given[(i * 7 + 3) % 20]}"
    done | gbk >"$1/data/_items.txt"
    printf '销售部 欧阳晓明 13800138000\r\n' | gbk >>"$1/data/_items.txt"
    convert -size 480x320 radial-gradient:'#fff3b0'-'#d08a00' -fill '#7a1010' \
        -draw 'roundrectangle 90,120 390,230 40,40' -fill '#333333' \
        -draw 'circle 150,235 150,265' -draw 'circle 330,235 330,265' "$1/img/car.png"
    printf '[General]\nmuse=1\nlayout=1\ntheme=%s\n' "$2" >"$1/prizedraw.ini"
}

# Pixels of the names' area that differ from the same area a moment later.
names_change() { # png png
    { compare -metric AE -crop 1766x760+77+216 "$1" "$2" null: 2>&1 || true; } |
        awk '{ printf "%d", $1 }'
}

shot() { # name
    import -window root "$work/$1.png"
    [ -z "${SHOTS:-}" ] || convert "$work/$1.png" -resize 50% -quality 88 "$SHOTS/$1.jpg"
}

start_display 1920 1080
themes=(redgold tech mall)
for theme in 0 1 2; do
    event=$work/event$theme
    make_event "$event" "$theme"
    launch "$event"
    # The loader says once that the prize asking 50 a round draws 30.
    sleep 0.3
    press Return
    focus_name '^抽奖$'
    name=${themes[theme]}
    shot "bigscreen-$name-ready"

    # One name: the key prize's reveal runs 2.6 s; a press in it only finishes it.
    press space
    sleep 0.5
    press space
    wait_for_rounds "$event" "A1:1"
    press space
    sleep 0.8
    [ "$(rounds_of "$event")" = "A1:1" ] || fail "the press that finished the reveal moved on"
    shot "bigscreen-$name-1"

    # Ten names, left to settle.
    press space
    sleep 0.6
    press space
    wait_for_rounds "$event" "A1:1 B1:1,2,3,4,5,6,7,8,9,10"
    sleep 2
    shot "bigscreen-$name-10"

    # Thirty names from a prize asking 50 a round: the round is 30, and sized as 30.
    press space
    sleep 0.6
    import -window root "$work/rolling.png"
    press space
    wait_for_rounds "$event" "A1:1 B1:1,2,3,4,5,6,7,8,9,10 C1:$(seq -s, 1 30)"
    sleep 2
    shot "bigscreen-$name-30"
    [ "$(names_change "$work/rolling.png" "$work/bigscreen-$name-30.png")" -gt 20000 ] ||
        fail "the names did not show"
    choose_exit
    wait "$app_pid" || true
done
echo ok
