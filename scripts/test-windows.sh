#!/usr/bin/env bash
# Cross-builds the Windows side with MinGW-w64 into ./build-windows (or $WINDOWS_BUILD_DIR) and runs
# its tests under Wine, headless, in a Wine prefix of the build's own: the tests never see the
# machine's own files, nor a Wine prefix of the user's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$root/build-windows}
BUILD_DIR=$build BUILD_TYPE=Release "$root/scripts/build.sh" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64.cmake"

export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init </dev/null
  # No display driver: windows exist and take messages without an X server.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null
  wineserver --wait
fi
# One server for every test: without it each test program starts and stops its own, and some stall.
wineserver --persistent
trap 'wineserver --kill' EXIT
wine cmd /c exit </dev/null
# A test that has passed once failed to exit while Wine was still ending a process it had killed;
# only a test that runs out of time is run again, so a failing check still fails the run.
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 120 --repeat after-timeout:2)

# The installer, tried in the same prefix once the tests that use its hosts file are done.
if [ -f "$build/program/tallowby.exe" ]; then
  "$root/tests/windows/installer_test.sh" "$build" "$("$root/scripts/package-windows.sh")"
else
  # It says that the program is not built, and installs a stand-in folder.
  "$root/tests/windows/installer_test.sh" "$build"
fi
