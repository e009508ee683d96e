# Sourced by the end-to-end tests: an Xvfb display of its own, screenshots, pixel counts.
set -euo pipefail

start_display() { # width height
    for n in $(seq 70 99); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
    done
    Xvfb "$display" -screen 0 "${1}x${2}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb did not start" >&2
    return 1
}

stop_display() { kill "${xvfb_pid:-}" 2>/dev/null || true; }

# Waits until a window of the given process is mapped.
wait_for_window() { # pid
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "no window appeared" >&2
    return 1
}

press() { xdotool key "$@"; sleep 0.3; }

# Number of pixels in the area (WxH+X+Y) close to the yellow of the names.
yellow_pixels() { # png geometry
    convert "$1" -crop "$2" +repage -fx '(r>0.75 && g>0.75 && b<0.35) ? 1 : 0' \
        -format '%[fx:round(mean*w*h)]' info:
}
