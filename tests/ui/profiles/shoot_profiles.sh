#!/bin/sh
# The screenshot of the profile manager on a private X display with a window manager:
#   shoot_profiles.sh <build dir> <output dir>
set -eu
build=$1
out=$2
shoot=$(dirname "$0")/../../support/shoot_window.sh

sh "$shoot" "$out/profiles.png" 1280x800 1 "$build/tests/ui/profiles/profiles_gallery"
