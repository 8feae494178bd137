#!/usr/bin/env bash
# Cross-builds the Windows side with MinGW-w64 into ./build-windows (or $WINDOWS_BUILD_DIR) and runs
# its tests under Wine, headless, in a Wine prefix of the build's own: the tests never see the
# machine's own files, nor a Wine prefix of the user's. With Qt 6 for Windows (built once into a
# cache by scripts/build-qt-mingw.sh, then reused) the build holds the whole program: tallowby.exe,
# Tallowby_Start.exe and the sandbox, each laid out in its program folder (build-windows/program,
# build-windows/sandbox). TALLOWBY_WINDOWS_QT=0 leaves Qt out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$root/build-windows}
toolchain=$root/cmake/toolchains/mingw-w64.cmake

configure=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
if [ "${TALLOWBY_WINDOWS_QT:-1}" != 0 ]; then
  # One Qt build at a time: a second one would start over in the same cache folder.
  qt_cache=${QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallowby}
  mkdir -p "$qt_cache"
  qt=$(flock "$qt_cache/.build-lock" "$root/scripts/build-qt-mingw.sh")
  # Qt's toolchain file finds Qt and its host tools, then loads the project's own.
  configure=(-DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain")
fi
# A build configured with the other toolchain is made again: CMake keeps the first one it was given.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qF "CMAKE_TOOLCHAIN_FILE:FILEPATH=${configure[0]#-DCMAKE_TOOLCHAIN_FILE=}" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi

# The prefix comes first: the build runs its Windows tool that lays out the program folders there.
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$build"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init </dev/null
  # No display driver: windows exist and take messages without an X server.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null
  wineserver --wait
fi
# One server for every test: without it each test program starts and stops its own, and some stall.
# A server left running in the prefix (an earlier run cut short) serves as well.
wineserver --persistent || wineserver --persistent=1 2>/dev/null || true
trap 'wineserver --kill' EXIT
wine cmd /c exit </dev/null

BUILD_DIR=$build BUILD_TYPE=Release "$root/scripts/build.sh" "${configure[@]}"

# Test programs that use the shared runtime (a build with Qt) find it, and Qt, through WINEPATH.
if winepath=$(grep -oP '^TALLOWBY_WINEPATH_TESTS:STRING=\K.*' "$build/CMakeCache.txt"); then
  export WINEPATH=$winepath
fi
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
