#!/bin/sh
# Screenshots of the reminders editor, a reminder pop-up (alone and with a notice beside it), the
# shutdown setup and the shutdown warning (alone and with the check code its cancel asks for)
# on a private X display with a window manager:
#   shoot_alarms.sh <build dir> <output dir>
set -eu
build=$1
out=$2
gallery=$build/tests/ui/alarms/alarms_gallery
shoot=$(dirname "$0")/../../support/shoot_window.sh

sh "$shoot" "$out/reminders.png" 1280x800 1 "$gallery" editor
sh "$shoot" "$out/reminder-popup.png" 1280x800 1 "$gallery" popup
sh "$shoot" "$out/shutdown-setup.png" 1280x800 1 "$gallery" shutdown
sh "$shoot" "$out/shutdown-warning.png" 1280x800 1 "$gallery" warning
sh "$shoot" "$out/shutdown-cancel-code.png" 1280x800 2 "$gallery" warning-code
sh "$shoot" "$out/popup-notice.png" 1280x800 2 "$gallery" popup-notice
