#!/bin/sh
# Screenshots of the main window on a private X display with a window manager:
#   shoot_shell.sh <build dir> <output dir>
# gives main-running.png, main-stopped.png and pause-countdown.png.
set -eu
build=$1
out=$2
gallery=$build/tests/shell/shell_gallery
[ -x "$gallery" ] || { echo "build the target shell_gallery first" >&2; exit 1; }

shoot() { # name state
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
    xvfb=$!
    display=:$(head -n1 <"$fifo")
    rm -f "$fifo"
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    DISPLAY=$display QT_QPA_PLATFORM=xcb "$gallery" "$2" 2>/dev/null &
    app=$!
    DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --pid "$app" >/dev/null
    # The status animation and the notice blink draw once a second.
    sleep 2
    DISPLAY=$display import -window root -trim +repage "$out/$1.png"
    kill "$app" "$wm" "$xvfb"
    wait "$app" "$wm" "$xvfb" 2>/dev/null || true
}

shoot main-running running
shoot main-stopped stopped
shoot pause-countdown pause
