#!/bin/sh
# One screenshot of a program's window on a private X display with a window manager:
#   shoot_window.sh <png file> <screen WxH> <settle seconds> <program> [args...]
# The program is started on the display; once one of its windows is visible and the settle time
# (for what draws once a second) has passed, the screen is shot, trimmed to what was drawn.
set -eu
png=$1
size=$2
settle=$3
shift 3
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
display=:$(head -n1 <"$fifo")
rm -f "$fifo"
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@" 2>/dev/null &
app=$!
DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --pid "$app" >/dev/null
sleep "$settle"
DISPLAY=$display import -window root -trim +repage "$png"
kill "$app" "$wm" "$xvfb"
wait "$app" "$wm" "$xvfb" 2>/dev/null || true
