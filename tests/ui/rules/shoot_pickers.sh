#!/bin/sh
# Screenshots of the two process pickers on a private X display with a window manager, each listing
# the programs the gallery starts there, of Browse's list of the installed applications and of the
# question about a name that reaches nothing:
#   shoot_pickers.sh <build dir> <output dir>
set -eu
build=$1
out=$2
gallery=$build/tests/ui/rules/picker_gallery
shoot=$(dirname "$0")/../../support/shoot_window.sh

sh "$shoot" "$out/process-picker-session.png" 1280x800 2 "$gallery" session
sh "$shoot" "$out/process-picker-wholeday.png" 1280x800 2 "$gallery" wholeday
sh "$shoot" "$out/process-picker-applications.png" 1280x800 1 "$gallery" applications
sh "$shoot" "$out/process-picker-question.png" 1280x800 1 "$gallery" question
