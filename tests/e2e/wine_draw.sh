#!/usr/bin/env bash
# The Windows program under Wine, from its portable zip: unpacks it into a Wine prefix of its
# own, runs a small draw on an event in a folder with a Chinese name under Xvfb (Wine's X11
# driver), exits through the menu, then checks the results file, `prizedraw.exe --verify`
# and that the screenshot shows the names. Then installs the installer silently, checks what
# it put where, and uninstalls. Prints the run's figures.
#   wine_draw.sh PACKAGES [WORK]   (the folder with the zip and the installer; WORK defaults
#                                   to a new temporary folder, removed at the end)
set -euo pipefail
zip=$(realpath "$(ls "$1"/prizedraw-*-windows-x64.zip)")
setup=$(realpath "$(ls "$1"/prizedraw-*-setup.exe)")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x_session.sh"

now() { date +%s.%N; }
seconds_since() { awk -v from="$1" -v to="$(now)" 'BEGIN { printf "%.1f", to - from }'; }

if [ -n "${2:-}" ]; then
    work=$(realpath -m "$2")
    rm -rf "$work" && mkdir -p "$work"
    keep=1
else
    work=$(mktemp -d)
    keep=0
fi
cleanup() {
    [ -z "${app_pid:-}" ] || kill "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    stop_display
    [ "$keep" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT

# Wine links Documents to the home folder: a home of its own keeps the installer's events here.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LANG=C.UTF-8
export HOME=$work/home
mkdir -p "$HOME"
start_display 1280 720
started=$(now)
wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot"; }
wineserver -w
echo "wine prefix made in $(seconds_since "$started") s"
# A Chinese face for the prefix: Wine has none of its own.
cp /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/"

drive_c=$WINEPREFIX/drive_c
cmake -E chdir "$drive_c" cmake -E tar xf "$zip"
exe='C:\prizedraw\prizedraw.exe'
[ -f "$drive_c/prizedraw/prizedraw.exe" ] || fail "no prizedraw.exe in the zip"

# A: one round of 3, B: one round of 2.
event=$drive_c/抽奖活动
mkdir -p "$event/data"
printf 'A`一等奖`a.png`1`3`3`\r\nB`二等奖`b.png`2`2`2`\r\n' | gbk >"$event/data/_prize.txt"
for i in $(seq 1 40); do printf '参与者%02d 1380000%04d\r\n' "$i" "$i"; done | gbk >"$event/data/_items.txt"
cp -r "$drive_c/prizedraw/bg.jpg" "$drive_c/prizedraw/img" "$drive_c/prizedraw/music" "$event/"

started=$(now)
wine "$exe" 'C:\抽奖活动' >"$work/program.log" 2>&1 &
app_pid=$!
for _ in $(seq 300); do
    xdotool search --onlyvisible --class prizedraw >/dev/null 2>&1 && break
    kill -0 "$app_pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended at start"; }
    sleep 0.1
done
xdotool search --onlyvisible --class prizedraw >/dev/null 2>&1 || fail "no window appeared"
echo "window shown after $(seconds_since "$started") s"
sleep 2 # the start-up load

window=$(xdotool search --onlyvisible --class prizedraw | head -n 1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
press space # roll A
sleep 1
press space # stop: A's three winners
wait_for_rounds "$event" "A1:1,2,3" 100
shot=$work/result.png
import -window root "$shot"
names=$(yellow_pixels "$shot" 1280x720+0+0)
echo "result frame: $names yellow pixels of names"
[ "$names" -gt 1500 ] || fail "no names drawn on the result frame ($names yellow pixels)"
press space # move on: B rolls
sleep 1
press space
wait_for_rounds "$event" "A1:1,2,3 B1:1,2" 100

started=$(now)
choose_exit
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not exit through the menu"
wait "$app_pid" || fail "the program exited with an error"
app_pid=
echo "exited $(seconds_since "$started") s after the menu was opened"

results=$(results_text "$event")
grep -q '^抽奖结束日期：' <<<"$results" || fail "no end line"
grep -q $'\tA\t一等奖\t1\t1\t参与者' <<<"$results" || fail "A's round is not in the results file"

started=$(now)
status=0
wine "$exe" --verify 'C:\抽奖活动' >"$work/verify.txt" 2>&1 || status=$?
echo "--verify took $(seconds_since "$started") s"
[ "$status" -eq 0 ] || { cat "$work/verify.txt"; fail "--verify exited with $status"; }
grep -q '^ok' "$work/verify.txt" || { cat "$work/verify.txt"; fail "--verify did not say ok"; }

# The installer: program under Program Files, Start-menu entries, an uninstall entry, the
# demo event in Documents; the uninstaller removes the program and leaves the events.
started=$(now)
wine "$setup" /S || fail "the installer failed"
wineserver -w
echo "installed in $(seconds_since "$started") s"
installed=$drive_c/Program\ Files/prizedraw
menu=$(find "$drive_c/users" -path '*Start Menu/Programs/prizedraw' -type d)
[ -f "$installed/prizedraw.exe" ] && [ -f "$installed/uninstall.exe" ] || fail "nothing installed"
[ -f "$menu/抽奖.lnk" ] && [ -f "$menu/卸载抽奖.lnk" ] || fail "no Start-menu entries"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\prizedraw'
wine reg query "$key" 2>/dev/null | grep -q UninstallString || fail "no uninstall entry"
wine 'C:\Program Files\prizedraw\prizedraw.exe' --check "$(winepath -w "$HOME/prizedraw/示例活动")" \
    >"$work/check.txt" 2>&1 || { cat "$work/check.txt"; fail "the installed demo event does not pass --check"; }
wine 'C:\Program Files\prizedraw\uninstall.exe' /S || fail "the uninstaller failed"
wineserver -w
for _ in $(seq 100); do [ -e "$installed/prizedraw.exe" ] || break; sleep 0.1; done
[ ! -e "$installed/prizedraw.exe" ] && [ ! -e "$menu" ] || fail "the uninstaller left the program"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller left its entry"
[ -f "$HOME/prizedraw/示例活动/data/_prize.txt" ] || fail "the uninstaller removed the events"
echo "wine draw: 1 passed, 0 failed"
