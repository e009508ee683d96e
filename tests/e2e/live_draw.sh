#!/usr/bin/env bash
# The live commands on the real program: a prize chosen before the first press, a new list
# imported between two rounds, winners marked absent and redrawn while the kept names stand
# still, a kill in the middle of a redraw, and the results file that comes out of it, which
# --verify checks round by round against the list each was drawn from.
set -euo pipefail
program=$1
source "$(dirname "$0")/x_session.sh"

begin_session

# A: one round of three, B: two rounds of one, C: one of one; twelve entries, music off.
event=$work/event
numbered 12 '参与者%02d' |
    write_event "$event" 'A`一等奖`a.png`1`3`3`\r\nB`二等奖`b.png`2`2`1`\r\nC`三等奖`c.png`3`1`1`\r\n' \
        '[General]\nmuse=1\nfingerprint=1\n'

# Ticks the row of that position in 补抽 and confirms with 是 (否 has the focus).
mark_absent() { # position
    menu_item Down 3 '^补抽$'
    for _ in $(seq 2 "$1"); do xdotool key Down; done
    press space Return
    answer '^请确认$' Left Return
}

# The vertical runs of name pixels above the status lines, one "top bottom" a line.
name_bands() { # png
    convert "$1" -crop 1024x620+128+80 +repage -fx '(r>0.75 && g>0.75 && b<0.35) ? 1 : 0' \
        -scale 1x620! -depth 16 txt:- |
        awk -F'[ ,:()]+' 'NR > 1 { y = $2 + 80
            if ($4 > 0) { if (!on) top = y; on = 1; bottom = y }
            else if (on) { print top, bottom; on = 0 } }
            END { if (on) print top, bottom }'
}

same_area() { [ "$(area "$1" "$3")" = "$(area "$2" "$3")" ]; }

start_display 1280 800
launch "$event"

# The ready screen carries the list's commitment: its QR code is the file's SHA-256.
sleep 0.5
import -window root "$work/ready.png"
digest=$(sha256sum "$event/data/_items.txt" | cut -d' ' -f1)
[ "$(zbarimg --raw -q "$work/ready.png")" = "$digest" ] || fail "the ready screen's QR code is not $digest"

# C chosen before the first press is the first round drawn; A follows, first in draw order.
menu_item Down 3 '^选择奖项$'
press ctrl+End Return
focus_name '^抽奖$'
round
wait_for_rounds "$event" "C1:1"

press Next; sleep 0.3; press Right
wait_for_rounds "$event" "C1:1 A1:1,2,3"
sleep 0.2
import -window root "$work/round.png"

mark_absent 2
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A"
import -window root "$work/marked.png"
# Positions 1 and 3 stay where they were and position 2 is left empty between them.
mapfile -t bands < <(name_bands "$work/marked.png")
[ "${#bands[@]}" -eq 2 ] || fail "expected two names around an empty row, found rows: ${bands[*]}"
read -r top1 bottom1 <<<"${bands[0]}"
read -r top3 bottom3 <<<"${bands[1]}"
pitch=$((bottom1 - top1))
gap=$((top3 - bottom1))
[ "$gap" -gt $((pitch / 2)) ] || fail "no empty row between the kept names: ${bands[*]}"
[ "$(name_bands "$work/round.png")" = "$top1 $bottom3" ] ||
    fail "the names moved: $(name_bands "$work/round.png" | tr '\n' ' ') then ${bands[*]}"
# Rows shrunk by a margin, so that a neighbour's tall glyph never reaches into them.
m=8
row1=1024x$((pitch - 2 * m))+128+$((top1 + m))
row2=1024x$((gap - 2 * m))+128+$((bottom1 + m))
row3=1024x$((bottom3 - top3 - 2 * m))+128+$((top3 + m))

# The redraw rolls only position 2.
press space
sleep 0.2
for i in 1 2 3 4 5; do import -window root "$work/rolling$i.png"; done
# A rolling frame draws the names without the result frame's shadow: frames are compared
# with each other, and the kept names before and after the roll.
moved=0
for i in 1 2 3 4 5; do
    shot=$work/rolling$i.png
    same_area "$work/rolling1.png" "$shot" "$row1" || fail "kept position 1 changed in frame $i"
    same_area "$work/rolling1.png" "$shot" "$row3" || fail "kept position 3 changed in frame $i"
    [ "$(yellow_pixels "$shot" "$row2")" -gt 1000 ] || fail "nothing rolls at position 2"
    if [ "$i" -gt 1 ] && ! same_area "$work/rolling1.png" "$shot" "$row2"; then moved=1; fi
done
[ "$moved" -eq 1 ] || fail "position 2 stood still while the redraw rolled"
[ "$(rounds_of "$event")" = "C1:1 A1:1,2,3,2A" ] || fail "a press rolling the redraw wrote"
press Right
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A,2R"
import -window root "$work/redrawn.png"
same_area "$work/marked.png" "$work/redrawn.png" "$row1" || fail "position 1 changed at the stop"
same_area "$work/marked.png" "$work/redrawn.png" "$row3" || fail "position 3 changed at the stop"
[ "$(yellow_pixels "$work/redrawn.png" "$row2")" -gt 1000 ] || fail "position 2 empty after the stop"

# Killed while position 1 is redrawn: on again with position 1 empty and the rest in place.
mark_absent 1
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A,2R,1A"
press space
sleep 0.3
kill_program
launch "$event"
answer '^请确认$' space
sleep 0.3
import -window root "$work/resumed.png"
[ "$(yellow_pixels "$work/resumed.png" "$row1")" -lt 100 ] || fail "position 1 not empty after going on"
same_area "$work/redrawn.png" "$work/resumed.png" "$row2" || fail "position 2 not as before the kill"
same_area "$work/redrawn.png" "$work/resumed.png" "$row3" || fail "position 3 not as before the kill"
round
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A,2R,1A,1R"

# A new list imported between two rounds: the draw goes on from it, the name shown and the
# lines recorded stay, and the results file records the new list's fingerprint.
numbered 12 '新人%02d' | gbk >"$work/newlist.txt"
cp "$event/data/_result.txt" "$work/before-import"
import -window root "$work/before-import.png"
menu_item Down 1 '^奖项列表$'
press Tab Tab Tab Tab Tab space # 导入名单…
open_box '^导入名单$'
xdotool type --delay 20 "$work/newlist.txt"
press Return
sleep 1.5 # the import dialog reads the file
focus_name '^导入名单$'
press Return
answer '^请确认$' Left Return # a draw is in progress: its winners stay
focus_name '^奖项列表$'
press Escape
focus_name '^抽奖$'
sleep 0.3
import -window root "$work/after-import.png"
[ "$(iconv -f GBK -t UTF-8 "$event/data/_result.txt" | grep -c '名单指纹：')" -eq 2 ] ||
    fail "the new list's fingerprint is not recorded"
head -c "$(stat -c %s "$work/before-import")" "$event/data/_result.txt" |
    cmp -s - "$work/before-import" || fail "the recorded lines changed at the import"
same_area "$work/before-import.png" "$work/after-import.png" 1024x500+128+80 ||
    fail "the name shown changed at the import"

press Down; sleep 0.3; press Next
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A,2R,1A,1R B1:1"
press Right; sleep 0.3; press Down
wait_for_rounds "$event" "C1:1 A1:1,2,3,2A,2R,1A,1R B1:1 B2:1"
press Next # the finished screen
sleep 0.5
import -window root "$work/finished.png"
exit_by_menu
check_draw_written "$event" "C1:1 A1:1,2,3,2A,2R,1A,1R B1:1 B2:1"

# Anyone can check the draw afterwards, each winner against the list and the marks of the
# moment; one byte changed in a winner line breaks it there.
"$program" --verify "$event" >"$work/verify.txt" || fail "--verify failed: $(cat "$work/verify.txt")"
tail -n 1 "$work/verify.txt" | grep -qx ok || fail "--verify did not end with ok"
final=$(awk -F'\t' '$1 == "final" { print $2 }' "$work/verify.txt")
[ -n "$final" ] && [ "$(zbarimg --raw -q "$work/finished.png")" = "$final" ] ||
    fail "the finished screen's QR code is not the final chain code $final"
line=$(grep -n $'\t1\t2R\t' <(iconv -f GBK -t UTF-8 "$event/data/_result.txt") | cut -d: -f1)
sed -i "${line}s/\(.\)\r\$/X\r/" "$event/data/_result.txt"
status=0
"$program" --verify "$event" >"$work/verify.txt" || status=$?
[ "$status" -eq 1 ] || fail "--verify of a changed file exited $status"
grep -qx "chain"$'\t'"broken"$'\t'"$line" "$work/verify.txt" ||
    fail "--verify did not name line $line: $(cat "$work/verify.txt")"
echo "live draw: 1 passed, 0 failed"
