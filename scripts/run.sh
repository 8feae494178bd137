#!/usr/bin/env bash
# Installs what Tallowby needs, builds it and starts it.
#   scripts/run.sh            the real program (build/program); it writes /etc/hosts, so run it as root
#   scripts/run.sh --sandbox  the sandbox program (build/sandbox); every system path stays inside its folder
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
folder=program
if [ "${1:-}" = "--sandbox" ]; then folder=sandbox; fi
exe="${BUILD_DIR:-$root/build}/$folder/tallowby"
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY is set; start Tallowby from a desktop session, or under Xvfb (see README.md)." >&2
  exit 1
fi
exec "$exe"
