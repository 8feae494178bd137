#!/usr/bin/env bash
# installer_test.sh BUILD_FOLDER [SETUP]: the Windows installer under Wine, in the build's own prefix
# ($WINEPREFIX, which scripts/test-windows.sh sets up; never anyone's own). SETUP is the installer
# made of BUILD_FOLDER/program; without it the test makes one, of that folder, or, while the Windows
# program is not built, of a stand-in folder whose programs are the tests' test_program.exe. It
# tries the installer's helper alone, installs silently, installs again over the running program,
# uninstalls while the program runs and waits for the uninstaller, which finishes in the
# background. Then the program has ended, and every installed file, the shortcut, the installed programs entry and the program's
# "Start with Windows" values are gone, while the user's rule files, another program's Run value
# and every line of the hosts file outside Tallowby's block are as they were, byte for byte.
set -euo pipefail
build=$(realpath -- "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
: "${WINEPREFIX:?set it to the Windows build Wine prefix}"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Every wine call reads no terminal and keeps the test's pipes out of the Wine server.
win() { wine "$@" </dev/null 2>>"$work/wine.log"; }
unix_path() { winepath -u "$1" 2>/dev/null </dev/null; }

work=$(mktemp -d)
hosts=$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts
cp -p -- "$hosts" "$work/hosts.before-test"
appdata=$(unix_path "$(win cmd /c 'echo %APPDATA%' | tr -d '\r')")
[ -d "$appdata" ] || { echo "installer test: no %APPDATA% folder in $WINEPREFIX" >&2; exit 1; }
rules=$appdata/Tallowby
# Rules that a run of the program left in the prefix are put aside and back.
[ ! -e "$rules" ] || mv -- "$rules" "$work/rules.of-the-prefix"
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowby'
# The prefix is left as it was found, whatever happened.
cleanup() {
  # Only programs of this test that nobody waited for yet: their process ids cannot have passed on.
  for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
  cp -p -- "$work/hosts.before-test" "$hosts"
  rm -rf -- "$rules"
  [ ! -e "$work/rules.of-the-prefix" ] || mv -- "$work/rules.of-the-prefix" "$rules"
  win reg delete "HKCU\\$run_key" /v TallowbyTestOther /f >/dev/null || true
  # What a failed uninstall left would change the next run's install.
  rm -rf -- "$(unix_path 'C:\Program Files\Tallowby')" \
    "$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallowby.lnk')"
  win reg delete "$uninstall_key" /f >/dev/null || true
  for root_key in HKLM HKCU; do
    win reg delete "$root_key\\$run_key" /v Tallowby /f >/dev/null || true
  done
  rm -rf -- "$work"
}
trap cleanup EXIT

# The program folder: the real one when the Windows program is built.
program=$build/program
standin=0
if [ ! -f "$program/tallowby.exe" ]; then
  standin=1
  program=$work/program
  echo "installer test: the Windows program is not built ($build/program has no tallowby.exe):" \
    "no installer of it is made; the test installs a stand-in program folder"
  mkdir -p "$program/profiles" "$program/sound" "$program/icon"
  cp "$build/tests/windows/test_program.exe" "$program/tallowby.exe"
  # As a link, as a folder may hold the Qt libraries: the file it leads to is installed.
  ln -s "$build/tests/windows/test_program.exe" "$program/Tallowby_Start.exe"
  cp /usr/share/nsis/Contrib/Graphics/Icons/nsis3-install.ico "$program/icon/t64.ico"
  printf 'Default\r\n' >"$program/profiles.db"
  printf '0000000\r\n0\r\n\r\n\r\n' >"$program/profiles/Default"
  printf 'RIFF' >"$program/sound/rmd.wav"
  printf '<html><body>Help</body></html>\r\n' >"$program/Tallowby - Help.htm"
  # A name NSIS must not read a variable in.
  printf 'RIFF' >"$program/sound/\$INSTDIR \$\$.wav"
fi
setup=${2:-}
[ -n "$setup" ] || setup=$("$root/scripts/package-windows.sh" "$program" "$work")

# What the user has before installing: rules in %APPDATA%, a block of the hosts file with a line of
# the user's written into it (the program keeps those), the user's lines around it, the last one
# without a line end, and a Run value of another program.
mkdir -p "$rules/profiles"
# The real program reads them at its start: its own first-run options, or lines of that shape.
if [ -f "$program/config.db" ]; then
  cp "$program/config.db" "$rules/config.db"
else
  printf 'Default\r\n1\r\n0\r\n' >"$rules/config.db"
fi
printf 'Default\r\n' >"$rules/profiles.db"
printf '1111111\r\n09:00\r\n12:00\r\n0\r\nnotepad.exe;\r\nnews.example;\r\n' >"$rules/profiles/Default.db"
cp -rp -- "$rules" "$work/rules.before"
begin='# BEGIN Tallowby blocked sites - managed by Tallowby, do not edit'
end='# END Tallowby blocked sites'
before=$'# The user\'s own lines, one in UTF-8: caf\xc3\xa9\r\n127.0.0.1 printer.lan\r\n\r\n'
inside=$'10.0.0.9 nas.lan\r\n'
after=$'::1 localhost\n10.1.2.3 last.lan'
printf '%s%s\r\n127.0.0.1       localhost\r\n127.0.0.1       news.example\r\n%s127.0.0.1       blocked.example\r\n%s\r\n%s' \
  "$before" "$begin" "$inside" "$end" "$after" >"$hosts"
printf '%s%s%s' "$before" "$inside" "$after" >"$work/hosts.expected"
win reg add "HKCU\\$run_key" /v TallowbyTestOther /d 'C:\other\start.exe' /f >/dev/null

installed=$(unix_path 'C:\Program Files\Tallowby')
shortcut=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallowby.lnk')
install() {
  win "$(winepath -w "$setup" </dev/null)" /S || fail "the silent installer failed ($?)"
  (cd "$program" && find -L . -type f) | while IFS= read -r file; do
    cmp -s "$program/$file" "$installed/$file" || echo "$file"
  done >"$work/differing"
  [ ! -s "$work/differing" ] || fail "installed not as in the program folder: $(cat "$work/differing")"
  [ -f "$installed/uninstall.exe" ] || fail "no uninstaller"
  [ -f "$shortcut" ] || fail "no Start menu shortcut"
}

# start WINDOWS_PATH ARGUMENT...: starts a program in the background, its process id in $started,
# and waits until Wine names the process by its Windows command line, which it does once the
# program is loaded.
alive() { [ -r "/proc/$1/cmdline" ] && ! grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }
start() {
  wine "$@" </dev/null >"$work/program.log" 2>&1 &
  started=$!
  for _ in $(seq 600); do
    alive "$started" || break
    tr '\0' ' ' <"/proc/$started/cmdline" | grep -qF "$1" && return 0
    sleep 0.1
  done
  fail "$1 did not start: $(cat "$work/program.log")"
}
start_program() {
  local arguments=()
  [ "$standin" = 1 ] && arguments=(window Tallowby)
  start 'C:\Program Files\Tallowby\tallowby.exe' "${arguments[@]}"
}

# ended_by WHO PID...: waits for the processes to be ended (by WHO).
ended_by() {
  local who=$1 pid
  shift
  for pid in "$@"; do
    for _ in $(seq 300); do
      alive "$pid" || break
      sleep 0.1
    done
    if alive "$pid"; then
      fail "$who did not end $(tr '\0' ' ' <"/proc/$pid/cmdline")"
      kill "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
  done
}

# The helper alone: it ends the programs of the folder it is given, in its subfolders too, and no
# other; it leaves a hosts file without the block as it is, and says why it cannot read one.
helper=$(winepath -w "$build/packaging/windows/tallowby-setup-helper.exe" </dev/null)
mkdir -p "$work/ends/sub" "$work/ends-not"
for exe in ends/a.exe ends/sub/b.exe ends-not/c.exe; do
  cp "$build/tests/windows/test_program.exe" "$work/$exe"
done
ending=()
for exe in ends/a.exe ends/sub/b.exe; do
  start "$(winepath -w "$work/$exe" </dev/null)" window "$exe"
  ending+=("$started")
done
keeping=()
for exe in "$work/ends-not/c.exe" "$build/tests/windows/test_program.exe"; do
  start "$(winepath -w "$exe" </dev/null)" window kept
  keeping+=("$started")
done
win "$helper" end-programs "$(winepath -w "$work/ends" </dev/null)" >"$work/helper.out" ||
  fail "end-programs failed: $(cat "$work/helper.out")"
ended_by "end-programs" "${ending[@]}"
for pid in "${keeping[@]}"; do
  alive "$pid" || fail "end-programs ended a program outside the folder it was given"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
cp -p -- "$hosts" "$work/hosts.seeded"
printf '%s%s' "$before" "$after" >"$hosts"
touch -d @1000000000 "$hosts"
cp -p -- "$hosts" "$work/hosts.no-block"
stamp=$(stat -c '%i %Y' "$hosts")
win "$helper" lift-hosts >"$work/helper.out" || fail "lift-hosts failed without a block: $(cat "$work/helper.out")"
[ "$(stat -c '%i %Y' "$hosts")" = "$stamp" ] &&
  cmp -s "$hosts" "$work/hosts.no-block" ||
  fail "lift-hosts rewrote a hosts file without the block"
rm -- "$hosts"
mkdir -- "$hosts"
status=0
win "$helper" lift-hosts >"$work/helper.out" || status=$?
rmdir -- "$hosts"
cp -p -- "$work/hosts.seeded" "$hosts"
[ "$status" = 1 ] && grep -qi 'drivers.etc.hosts' "$work/helper.out" ||
  fail "lift-hosts on a folder: status $status, said $(cat "$work/helper.out")"
status=0
win "$helper" >"$work/helper.out" || status=$?
[ "$status" = 2 ] || fail "the helper without a command: status $status"

install
win reg query "$uninstall_key" | tr -d '\r' >"$work/entry"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for expected in "DisplayName    REG_SZ    Tallowby" "DisplayVersion    REG_SZ    $version" \
  "Publisher    REG_SZ    Tallowby developers" \
  "UninstallString    REG_SZ    \"C:\\Program Files\\Tallowby\\uninstall.exe\"" \
  "QuietUninstallString    REG_SZ    \"C:\\Program Files\\Tallowby\\uninstall.exe\" /S" \
  "InstallLocation    REG_SZ    C:\\Program Files\\Tallowby" \
  "DisplayIcon    REG_SZ    C:\\Program Files\\Tallowby\\icon\\t64.ico" \
  "NoModify    REG_DWORD    0x1" "NoRepair    REG_DWORD    0x1"; do
  grep -qxF "    $expected" "$work/entry" || fail "installed programs entry lacks: $expected"
done

# Installing again over the running program, as an update does: the running copy holds its files.
start_program
install
ended_by "the installer" "$started"

# "Start with Windows", as the program registers it (quoted or not) in either root.
win reg add "HKLM\\$run_key" /v Tallowby /d 'C:\Program Files\Tallowby\Tallowby_Start.exe' /f >/dev/null
win reg add "HKCU\\$run_key" /v Tallowby /d '"C:\Program Files\Tallowby\Tallowby_Start.exe"' /f >/dev/null

# Uninstall while the program runs: the uninstaller copies itself away, returns at once and works
# on in the background, deleting the installed programs entry last.
start_program
win 'C:\Program Files\Tallowby\uninstall.exe' /S || fail "the silent uninstaller failed ($?)"
for _ in $(seq 600); do
  win reg query "$uninstall_key" >/dev/null || break
  sleep 0.5
done
win reg query "$uninstall_key" >/dev/null && fail "the uninstaller did not finish within five minutes"
ended_by "the uninstaller" "$started"

[ ! -e "$installed" ] || fail "left in the installation folder: $(cd "$installed" && find . -mindepth 1)"
[ ! -e "$shortcut" ] || fail "the Start menu shortcut is still there"
for root_key in HKLM HKCU; do
  win reg query "$root_key\\$run_key" /v Tallowby >/dev/null && fail "the $root_key Run value is still there"
done
win reg query "HKCU\\$run_key" /v TallowbyTestOther >/dev/null || fail "another program's Run value went"
cmp -s "$hosts" "$work/hosts.expected" ||
  fail "the hosts file holds $(od -c "$hosts"), not $(od -c "$work/hosts.expected")"
# The real program may add files of its own there while it runs; the user's stay as they were.
(cd "$work/rules.before" && find . -type f) | while IFS= read -r file; do
  cmp -s "$work/rules.before/$file" "$rules/$file" || echo "$file"
done >"$work/rules-changed"
[ ! -s "$work/rules-changed" ] || fail "the user's rule files changed: $(cat "$work/rules-changed")"

if [ "$failures" != 0 ]; then
  echo "installer test: $failures failures" >&2
  exit 1
fi
echo "installer test: $(basename -- "$setup") of $program installed, started, uninstalled and checked"
