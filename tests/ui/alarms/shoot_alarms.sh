#!/bin/sh
# Screenshots of the reminders editor and a reminder pop-up on a private X display with a window
# manager:
#   shoot_alarms.sh <build dir> <output dir>
set -eu
build=$1
out=$2
gallery=$build/tests/ui/alarms/alarms_gallery
shoot=$(dirname "$0")/../../support/shoot_window.sh

sh "$shoot" "$out/reminders.png" 1280x800 1 "$gallery" editor
sh "$shoot" "$out/reminder-popup.png" 1280x800 1 "$gallery" popup
