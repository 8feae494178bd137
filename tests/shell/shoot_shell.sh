#!/bin/sh
# Screenshots of the main window on a private X display with a window manager:
#   shoot_shell.sh <build dir> <output dir>
# gives main-running.png, main-stopped.png, pause-countdown.png, session-overlap.png and
# website-dialog.png.
set -eu
build=$1
out=$2
gallery=$build/tests/shell/shell_gallery
[ -x "$gallery" ] || { echo "build the target shell_gallery first" >&2; exit 1; }
shoot=$(dirname "$0")/../support/shoot_window.sh

# The status animation and the notice blink draw once a second.
sh "$shoot" "$out/main-running.png" 1280x800 2 "$gallery" running
sh "$shoot" "$out/main-stopped.png" 1280x800 2 "$gallery" stopped
sh "$shoot" "$out/pause-countdown.png" 1280x800 2 "$gallery" pause
sh "$shoot" "$out/session-overlap.png" 1280x800 2 "$gallery" overlap
sh "$shoot" "$out/website-dialog.png" 1280x800 2 "$gallery" website
