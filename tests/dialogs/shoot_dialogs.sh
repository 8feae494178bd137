#!/bin/sh
# Screenshots of the restraint dialogs on a private X display with a window manager:
#   shoot_dialogs.sh <build dir> <output dir>
# The 300-character check code is shot on a screen wide enough to hold the whole dialog.
set -eu
build=$1
out=$2
gallery=$build/tests/dialogs/dialogs_gallery

shoot() { # name screen-size args...
    name=$1
    size=$2
    shift 2
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" 2>/dev/null &
    xvfb=$!
    display=:$(head -n1 <"$fifo")
    rm -f "$fifo"
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    DISPLAY=$display QT_QPA_PLATFORM=xcb "$gallery" "$@" &
    app=$!
    DISPLAY=$display xdotool search --sync --onlyvisible --pid "$app" >/dev/null
    sleep 1
    DISPLAY=$display import -window root -trim +repage "$out/$name.png"
    kill "$app" "$wm" "$xvfb"
    wait "$app" "$wm" "$xvfb" 2>/dev/null || true
}

shoot checkcode-5 1280x800 checkcode 5
shoot checkcode-300 3000x400 checkcode 300
shoot options 1280x800 options
shoot pause 1280x800 pause
