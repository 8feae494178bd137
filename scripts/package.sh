#!/usr/bin/env bash
# Builds the Debian package in ./build-package (or $PACKAGE_BUILD_DIR) and prints its path.
# A release build for the prefix /usr with Debian's hardening flags (fortified functions, a strong
# stack protector, relocations read-only and bound at start, position-independent code), and only
# what the package holds: no tests, no benchmarks. The build's own output goes to stderr, so
# `deb=$(scripts/package.sh)` gets the path alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$root/build-package}
"$root/scripts/install-deps.sh" >&2

cd "$root" # dpkg-buildflags maps the current folder out of the binaries' file names
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The package strips its binaries, so debugging information would only cost build time.
export DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Flags are passed on every configure, not read once from the environment, so a build folder made
# before a change of flags does not keep the old ones.
BUILD_DIR=$build "$root/scripts/build.sh" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTALLOWBY_BENCH=OFF -DTALLOWBY_TESTS=OFF \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" >&2

rm -f "$build"/tallowby_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/tallowby_*.deb
