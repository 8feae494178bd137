#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test with ctest.
# Tests that need a desktop start their own Xvfb, window manager and tray host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "$(nproc)" --timeout 600
