#!/usr/bin/env bash
# package-windows.sh [PROGRAM_FOLDER [OUTPUT_FOLDER]]: makes the Windows installer
# Tallowby-<version>-setup.exe from a Windows program folder (by default build-windows/program, or
# $WINDOWS_BUILD_DIR/program) into OUTPUT_FOLDER (by default the Windows build folder) and prints its
# path. The Windows build must be there: the installer carries its tallowby-setup-helper.exe, which
# is built here when missing. Progress goes to stderr, so `setup=$(scripts/package-windows.sh)` gets
# the path alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$root/build-windows}
program=$(realpath -- "${1:-$build/program}")
output=$(realpath -- "${2:-$build}")

fail() {
  echo "package-windows.sh: $*" >&2
  exit 1
}
command -v makensis >/dev/null || fail "makensis is missing (scripts/install-deps.sh installs nsis)"
[ -f "$build/CMakeCache.txt" ] || fail "no Windows build in $build (scripts/test-windows.sh makes one)"
for file in tallowby.exe Tallowby_Start.exe icon/t64.ico; do
  [ -f "$program/$file" ] || fail "$program is no Windows program folder: it lacks $file"
done

cmake --build "$build" --target tallowby_setup_helper >&2
helper=$build/packaging/windows/tallowby-setup-helper.exe
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

# The file lists: one File line per file, so the uninstaller deletes exactly what was installed and
# never a whole folder (one the user chose could hold anything).
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT
# NSIS reads $ as the start of a variable.
nsis_text() { printf '%s' "${1//\$/\$\$}"; }
windows_path() { nsis_text "${1//\//\\}"; }
# Links are followed: a folder may link the Qt libraries from where Qt was built.
(
  cd "$program"
  find -L . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort >"$lists/folders"
  find -L . -type f | sed 's|^\./||' | LC_ALL=C sort >"$lists/files"
)
# The uninstaller is uninstall.exe in the installation folder.
! grep -qix 'uninstall\.exe' "$lists/files" || fail "$program holds an uninstall.exe of its own"
{
  folder= # dirname never says this: the first file sets the folder
  while IFS= read -r file; do
    dir=$(dirname -- "$file")
    if [ "$dir" != "$folder" ]; then
      folder=$dir
      [ "$dir" = . ] && dir=
      printf 'SetOutPath "$INSTDIR%s"\n' "${dir:+\\$(windows_path "$dir")}"
    fi
    # Read by makensis itself, where $ stands for itself.
    printf 'File "%s"\n' "$program/$file"
  done <"$lists/files"
} >"$lists/install.nsh"
{
  while IFS= read -r file; do
    printf 'Delete "$INSTDIR\\%s"\n' "$(windows_path "$file")"
  done <"$lists/files"
  # Deepest first; each only when empty.
  LC_ALL=C sort -r "$lists/folders" | while IFS= read -r dir; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(windows_path "$dir")"
  done
} >"$lists/uninstall.nsh"

setup=$output/Tallowby-$version-setup.exe
makensis -V2 -NOCD \
  "-DVERSION=$version" "-DOUTFILE=$setup" "-DHELPER=$helper" \
  "-DINSTALL_LIST=$lists/install.nsh" "-DUNINSTALL_LIST=$lists/uninstall.nsh" \
  "-DSIZE_KB=$(du -skL -- "$program" | cut -f1)" \
  "$root/packaging/windows/tallowby.nsi" >&2
echo "$setup"
