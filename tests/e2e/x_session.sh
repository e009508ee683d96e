# Sourced by the end-to-end tests: an Xvfb display of its own, an event folder, the keys
# and menus of the program, screenshots and pixel counts.
set -euo pipefail

fail() { echo "FAIL${scenario:+ ($scenario)}: $*" >&2; exit 1; }

# A scratch folder in $work. At exit the program ($app_pid, and $other_pid when a test starts
# a second one) is killed, the small disks of $mounts unmounted, the display stopped and the
# folder removed.
begin_session() {
    work=$(mktemp -d)
    mounts=()
    trap end_session EXIT
}

end_session() {
    local pid mount
    for pid in ${app_pid:-} ${other_pid:-}; do
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for mount in "${mounts[@]}"; do umount "$mount" 2>/dev/null || true; done
    stop_display
    rm -rf "$work"
}

# A small disk of its own at the folder; without the right to mount one the test is skipped.
small_disk() { # folder size
    mkdir -p "$1"
    mount -t tmpfs -o "size=$2" tmpfs "$1" 2>/dev/null || { echo "no tmpfs: skipped"; exit 77; }
    mounts+=("$1")
}

# As a power cut would: no clean-up of any kind.
kill_program() {
    kill -9 "$app_pid"
    wait "$app_pid" 2>/dev/null || true
}

# An event folder: prize lines and options as printf's %b takes them, the entries (UTF-8,
# one a line) from the standard input.
write_event() { # folder prizes options
    mkdir -p "$1/data"
    printf '%b' "$2" | gbk >"$1/data/_prize.txt"
    gbk >"$1/data/_items.txt"
    printf '%b' "$3" >"$1/prizedraw.ini"
}

start_display() { # width height [width2 height2: a second screen, :N.1]
    # Xvfb picks a free display itself and writes its number, so parallel runs never share one.
    # Without -noreset the server resets when its last client leaves, and a program started in
    # that moment cannot connect.
    local numbers screens=(-screen 0 "${1}x${2}x24")
    [ $# -lt 4 ] || screens+=(-screen 1 "${3}x${4}x24")
    numbers=$(mktemp)
    Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp -noreset 3>"$numbers" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [ -s "$numbers" ]; then
            export DISPLAY=:$(head -n 1 "$numbers")
            rm -f "$numbers"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

stop_display() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}

# Waits until a window of the given process is mapped.
wait_for_window() { # pid
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1 && return 0
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    echo "no window appeared" >&2
    kill -0 "$xvfb_pid" 2>/dev/null || echo "the Xvfb server is gone" >&2
    return 1
}

press() { xdotool key "$@"; sleep 0.3; }

# Number of pixels in the area (WxH+X+Y) close to the yellow of the names.
yellow_pixels() { # png geometry
    convert "$1" -crop "$2" +repage -fx '(r>0.75 && g>0.75 && b<0.35) ? 1 : 0' \
        -format '%[fx:round(mean*w*h)]' info:
}

# The event files are GBK; the scripts write them in UTF-8.
gbk() { iconv -f UTF-8 -t GBK; }

wait_for_name() { # window name (regular expression)
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no window named $1"
}

# Without a window manager a closed box leaves no window with the keyboard: give it back.
focus_name() { xdotool search --onlyvisible --name "$1" windowfocus --sync >/dev/null 2>&1; }

# Waits for the box of that title and gives it the keyboard.
open_box() { wait_for_name "$1"; focus_name "$1"; }

# Answers the box of that title with the keys (Return by default) and gives the keyboard
# back to the draw.
answer() { # title [keys]
    local title=$1
    shift
    open_box "$title"
    press "${@:-Return}"
    focus_name '^抽奖$' || true # gone when the box ended the program
}

# A digest of the area (WxH+X+Y), to tell whether it changed.
area() { convert "$1" -crop "$2" +repage rgba:- | md5sum; }

# The results file as UTF-8 lines without their chain codes and fingerprint lines, so that
# the fields count from the time.
results_text() {
    iconv -f GBK -t UTF-8 "$1/data/_result.txt" |
        sed -e 's/^#[0-9a-f]\{16\}\t//' -e '/^名单指纹：/d' -e '/^奖项指纹：/d'
}

# The winner lines as runs of one round each, with their positions: "A1:1 A2:1 B1:1".
rounds_of() { # event
    results_text "$1" 2>/dev/null | awk -F'\t' 'NF >= 6 {
        key = $2 $4
        if (key != last) { printf "%s%s:", sep, key; sep = " "; last = key; comma = "" }
        printf "%s%s", comma, $5; comma = ","
    } END { print "" }'
}

wait_for_rounds() { # event expected [tries of 0.1 s]
    for _ in $(seq "${3:-50}"); do
        [ "$(rounds_of "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    fail "expected the recorded rounds $2, found $(rounds_of "$1")"
}

# The menu's item n, from the top (Down) or counted from 退出 upwards (Up), and its dialog
# (奖项..., 抽奖结果, then the live commands from the top).
menu_item() { # Down|Up n title
    xdotool mousemove 50 50 click 3
    sleep 0.5
    for _ in $(seq "$2"); do xdotool key "$1"; done
    press Return
    open_box "$3"
}

# The right-click menu's last item, 退出 (Up from no item goes to the last one, whichever
# live commands the menu holds at the moment).
choose_exit() {
    xdotool mousemove 50 50 click 3
    sleep 0.5
    press Up Return
}

wait_for_exit() { # what failed, when the program still runs
    for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null && fail "$1"
    wait "$app_pid" || fail "the program exited with an error"
}

start_program() { "$program" "$@" & app_pid=$!; } # without waiting for its window

launch() { # event folder; sets app_pid
    start_program "$1"
    wait_for_window "$app_pid"
    sleep 0.5 # the start-up load runs after 200 ms
}

exit_by_menu() { choose_exit; wait_for_exit "the program did not exit through the menu"; }

# One round: the press that starts the roll and the press that stops it.
round() { press space; sleep 0.3; press space; }

# Entries 1 to count in the printf format (a second % takes the number again), CR LF ended.
numbered() { # count format
    awk -v n="$1" -v f="$2" 'BEGIN { for (i = 1; i <= n; i++) printf f "\r\n", i, i }'
}

# The entries of the winner lines, one a line.
winners_of() { results_text "$1" | tr -d '\r' | awk -F'\t' 'NF >= 6 { print $6 }'; }

# A draw written whole: one start line, first, one end line, last, and these rounds between.
check_draw_written() { # event rounds (as rounds_of gives them)
    local text
    text=$(results_text "$1" | tr -d '\r')
    [ "$(grep -cE '^抽奖(开始|结束)日期：' <<<"$text")" -eq 2 ] && [[ $text == 抽奖开始日期：* ]] &&
        tail -n 1 <<<"$text" | grep -q '^抽奖结束日期：' || fail "no start line first and end line last"
    [ "$(rounds_of "$1")" = "$2" ] || fail "the rounds written: $(rounds_of "$1")"
}
