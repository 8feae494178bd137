#!/bin/sh
# Screenshots of the restraint dialogs on a private X display with a window manager:
#   shoot_dialogs.sh <build dir> <output dir>
# The 300-character check code is shot on a screen wide enough to hold the whole dialog.
set -eu
build=$1
out=$2
gallery=$build/tests/ui/restraint/dialogs_gallery
shoot=$(dirname "$0")/../../support/shoot_window.sh

sh "$shoot" "$out/checkcode-5.png" 1280x800 1 "$gallery" checkcode 5
sh "$shoot" "$out/checkcode-300.png" 3000x400 1 "$gallery" checkcode 300
sh "$shoot" "$out/options.png" 1280x800 1 "$gallery" options
sh "$shoot" "$out/pause.png" 1280x800 1 "$gallery" pause
