#!/usr/bin/env bash
# Compiles every file of the store and the engine, and the floor's interface, for Windows with
# MinGW-w64 (syntax only), so the portable core cannot come to lean on POSIX unnoticed.
# Usage: check_mingw.sh <src folder>; exits 77 (skipped) without the compiler.
set -uo pipefail
src=${1:?usage: check_mingw.sh <src folder>}
export compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
if ! command -v "$compiler" >/dev/null; then
  echo "skipped: $compiler is not installed (Debian package g++-mingw-w64-x86-64-posix)"
  exit 77
fi
cd "$src" || exit 2
files=(store/*.h store/*.cpp engine/*.h engine/*.cpp os/*.h os/*.cpp)
# Each through an include, as a header is used (and as "#pragma once" expects); a failure prints
# the compiler's words and then the file's name on a line of its own.
failed=$(printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -I{} sh -c \
  'echo "#include \"{}\"" | "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -I. -x c++ - >&2 || echo "{}"')
count=$(printf '%s' "$failed" | grep -c . || true)
echo "$((${#files[@]} - count)) of ${#files[@]} files compile for Windows"
if [ "$count" -gt 0 ]; then
  printf 'does not compile for Windows: %s\n' $failed
  exit 1
fi
