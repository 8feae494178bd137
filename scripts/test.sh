#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test with ctest; then the Windows build's tests
# under Wine; then gives the file readers, the tick and the hosts file's block a short fuzzing run;
# last it builds the Debian package and checks it. Tests that need a desktop start their own Xvfb,
# window manager and tray host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
BUILD_DIR=$build "$root/scripts/build.sh"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 600)

# The Windows side: cross-built with MinGW-w64 and run under Wine (build-windows/).
"$root/scripts/test-windows.sh"

# The fuzz targets need clang; they compile only the plain libraries, no Qt. Each one the fuzz
# folder defines has a short run among the tests named fuzz_*, so each must be built.
fuzz_build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
CXX=clang++ BUILD_DIR=$fuzz_build TARGETS="fuzz_loaders fuzz_hosts fuzz_programs" "$root/scripts/build.sh" -DTALLOWBY_FUZZ=ON
(cd "$fuzz_build" && ctest --output-on-failure -R '^fuzz_')

# The package is a second, release build; it is only read and unpacked, never installed.
deb=$("$root/scripts/package.sh")
"$root/scripts/check-package.sh" "$deb"
