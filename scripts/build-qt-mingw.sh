#!/usr/bin/env bash
# Builds Qt 6's base module for 64-bit Windows with MinGW-w64 from Debian's own qt6-base source, at
# the version of the installed host tools (moc, rcc, uic must match it), and prints the prefix it is
# installed in. The prefix lives outside the clone, keyed by that version and by this script's own
# content, and a finished one is reused: a machine builds it once (about 36 minutes on two cores).
#
#   QT_MINGW_CACHE  the folder the prefixes are kept in (default: ~/.cache/tallowby)
set -euo pipefail
script=$(readlink -f "${BASH_SOURCE[0]}")
cache=${QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallowby}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [ -z "$version" ]; then
  echo "build-qt-mingw: qt6-base-dev-tools is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
key=$(sha256sum "$script" | cut -c1-12)
prefix=$cache/qt6-mingw-${version//[^A-Za-z0-9.+-]/_}-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Everything below goes to stderr: stdout carries only the prefix.
exec 3>&1 1>&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

# The source comes from the suites the machine's own packages come from.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/tallowby-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update
fi

work=$cache/qt6-mingw-work
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
(cd "$work" && apt-get source --only-source "qt6-base=$version")
source_dir=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base-*' | head -n1)

# Qt's own qt-cmake chain-loads this file by its absolute path, so it lives in the prefix. No
# static-link flags here: Qt's DLLs and the programs that load them share one C++ runtime.
cat >"$prefix/mingw-w64-toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# Only what Tallowby uses: Core, Gui, Widgets and Test, with the bundled third-party libraries.
# Debian's source lacks the Wintab headers (tablet events off); the Windows platform plugin does not
# link without Direct2D, whose 1.1 interface MinGW lacks.
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-toolchain.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_pkg_config=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
  -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_zstd=OFF \
  -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF \
  -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF
cmake --build "$work/build" -j "$(nproc)"
cmake --install "$work/build"
rm -rf "$work"
touch "$prefix/.complete"
echo "$prefix" >&3
