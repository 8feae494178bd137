#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tallowby needs.
# Both README commands and the CI run call this script, so the list lives here only.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libxcb1-dev libxcb-ewmh-dev libxcb-icccm4-dev libxcb-res0-dev
  libsdl2-mixer-dev
  # MIDI alert sounds: a General MIDI sound font (not pulled in without recommends)
  timgm6mb-soundfont
  # tests, fuzzing and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the Windows build (MinGW-w64, GoogleTest's sources from libgtest-dev) and Wine to run its tests
  g++-mingw-w64-x86-64-posix wine wine64
  # the Windows installer (makensis)
  nsis
  clang libclang-rt-14-dev
  # a desktop to test against: X server, window manager, tray host, X tools
  xvfb xauth openbox trayer x11-utils x11-apps xdotool imagemagick
  # real system monitors and a terminal for "Block Task Manager" to end
  htop lxtask xterm
  # programs whose desktop entries the reading of installed applications is tried on
  xterm idle
  faketime
  # the end-to-end tests drive the windows over the accessibility bus
  dbus-daemon at-spi2-core python3-pyatspi
  # the Debian package: hardening flags, dependencies, and the checks of what it holds
  dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
