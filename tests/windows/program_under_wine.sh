#!/usr/bin/env bash
# The Windows sandbox program end to end under Wine, on an X display of its own (Xvfb, openbox and
# trayer), in a Wine prefix of its own with Wine's X11 driver, so every window is an X window that
# xdotool finds and clicks and `import` photographs:
#   program_under_wine.sh <sandbox folder> <test_program.exe> <uia_texts.exe> <wine prefix>
#                         [<screenshot folder>]
# A copy of the sandbox folder gets a session that blocks test_program.exe and a website. The
# program starts, shows its window, minimises the test program's window and blocks the website in
# its own hosts file; closed, its window goes to the tray, whose icon brings it back; Exit, with the
# check code read from the dialog and typed, ends it and lifts the block. With a screenshot folder,
# the main window and three dialogs are photographed into it. Nothing outside the copy, the prefix
# and the display is touched; every process acted on is one this script started.
set -euo pipefail
sandbox=$(cd "$1" && pwd)
test_program=$2
uia_texts=$3
export WINEPREFIX=$4
shots=${5:-}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" /tmp/program_under_wine-failure.png
  exit 1
}
# Waits up to a minute for a command to succeed.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 600); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

# The tray holds one icon, at its right end; it is there when the tray has more windows than it had
# before the program started.
icon_at() {
  xwininfo -id "$tray" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x + w - int(h / 2), y + int(h / 2)}'
}
tray_windows() { xwininfo -tree -id "$tray" | grep -c '^ *0x'; }
has_icon() { [ "$(tray_windows)" -gt "$tray_base" ]; }
# The display: Xvfb picks a free number.
fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
pids+=($!)
export DISPLAY=:$(head -n1 <"$fifo")
openbox >/dev/null 2>&1 &
pids+=($!)
# The tray host first: a program finds the notification area when it starts.
trayer --edge bottom --align right --widthtype pixel --width 100 >/dev/null 2>&1 &
pids+=($!)
wait_for "trayer" xdotool search --onlyvisible --class trayer
tray=$(xdotool search --onlyvisible --class trayer | head -n1)
sleep 1
tray_base=$(tray_windows)

export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init </dev/null >/dev/null 2>&1
  wineserver --wait
fi
wineserver --persistent 2>/dev/null || true
wine cmd /c exit </dev/null >/dev/null 2>&1

# The sandbox, with a session around now that blocks the test program and a website.
folder=$work/sandbox
cp -r "$sandbox" "$folder"
crlf() { printf '%s\r\n' "$@"; }
minutes=$((10#$(date +%H) * 60 + 10#$(date +%M)))
start=$(((minutes / 5) * 5 - 5))
[ "$start" -lt 0 ] && start=0
end=$((start + 60))
[ "$end" -gt $((23 * 60 + 55)) ] && end=$((23 * 60 + 55))
[ "$minutes" -ge "$end" ] && { echo "skipped: too close to midnight for a session"; exit 0; }
hhmm() { printf '%02d:%02d' $(($1 / 60)) $(($1 % 60)); }
# The profile, the options (check code to Exit, 5 characters; nothing asked when the window is put
# away; the window minimises blocked programs).
crlf Default 0 0 0 0 1 0 5 0 1 0 0 0 0 >"$folder/config.db"
crlf Default >"$folder/profiles.db"
mkdir -p "$folder/profiles"
crlf "$(hhmm $start)" "$(hhmm $end)" 1111111 0 "test_program.exe;" "blocked.example.org;" >"$folder/profiles/Default.db"
crlf 0000000 0 "" "" >"$folder/profiles/Default"
rm -f "$folder/profiles/Default.rem"

cp "$test_program" "$work/test_program.exe"
wine "$work/test_program.exe" window "Wine test window" </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_for "the test program's window" xdotool search --onlyvisible --name '^Wine test window$'
test_window=$(xdotool search --onlyvisible --name '^Wine test window$' | head -n1)

(cd "$folder" && exec wine ./tallowby.exe </dev/null >"$work/program.log" 2>&1) &
program=$!
pids+=($program)
wait_for "the main window" xdotool search --onlyvisible --name '^Tallowby$'
main=$(xdotool search --onlyvisible --name '^Tallowby$' | head -n1)

iconic() { xprop -id "$1" WM_STATE | grep -q 'window state: Iconic'; }
wait_for "the test program's window to be minimised" iconic "$test_window"
wait_for "the website block" grep -q 'blocked\.example\.org' "$folder/system/hosts"

shoot() { # <window> <name>
  [ -n "$shots" ] || return 0
  sleep 1.5 # the status line animates once a second
  import -window "$1" "$shots/$2.png"
}
shoot "$main" main-running

# Closed, the window goes to the tray; a click on the icon brings it back.
close_main() {
  main=$(xdotool search --onlyvisible --name '^Tallowby$' | head -n1)
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key alt+F4
  wait_for "the window to be hidden" bash -c "! xdotool search --onlyvisible --name '^Tallowby\$' | grep -q ."
}
close_main
wait_for "the tray icon" has_icon
read -r x y < <(icon_at)
xdotool mousemove "$x" "$y" click 1
wait_for "the window back from the tray" xdotool search --onlyvisible --name '^Tallowby$'
main=$(xdotool search --onlyvisible --name '^Tallowby$' | head -n1)

# Menus by the keyboard, as a user without a mouse reaches them: Alt, then the n-th item.
menu() { # <items to the right of Run> [<keys in the submenu>...]
  main=$(xdotool search --onlyvisible --name '^Tallowby$' | head -n1)
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key alt
  sleep 0.3
  for _ in $(seq "$1"); do xdotool key Right; done
  shift
  xdotool key Return "$@"
}
dialog() { # <caption>: the dialog's window, once shown
  wait_for "the dialog \"$1\"" xdotool search --onlyvisible --name "^$1\$"
  xdotool search --onlyvisible --name "^$1\$" | head -n1
}
dismiss() { # <window> <caption>: Esc, as a user closes a dialog
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  xdotool key Escape
  wait_for "the dialog \"$2\" to close" bash -c "! xdotool search --onlyvisible --name '^$2\$' | grep -q ."
}

if [ -n "$shots" ]; then
  # The pause dialog while the rules run; Stop (no code asked); the options and the About box.
  menu 2
  pause=$(dialog Pause)
  shoot "$pause" pause
  dismiss "$pause" Pause
  menu 1
  wait_for "the rules to stop" bash -c "! grep -q 'blocked\\.example\\.org' '$folder/system/hosts'"
  shoot "$main" main-stopped
  menu 5 Return
  options=$(dialog Options)
  shoot "$options" options
  dismiss "$options" Options
  menu 6 Up Return
  about=$(dialog About)
  shoot "$about" about
  dismiss "$about" About
fi

# Exit, from the tray icon's menu (its last item), asks for the check code: it is read from the
# dialog through UI Automation and typed.
close_main
wait_for "the tray icon" has_icon
visible() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }
before=$(visible)
read -r x y < <(icon_at)
xdotool mousemove "$x" "$y" click 3
# The menu is the window that was not there before; Exit is its last item.
popup() { comm -13 <(echo "$before") <(visible) | head -n1; }
wait_for "the tray icon's menu" bash -c "[ -n \"\$(comm -13 <(echo '$before') <(xdotool search --onlyvisible --name '' 2>/dev/null | sort))\" ]"
menu_window=$(popup)
shoot "$menu_window" tray-menu
read -r x y < <(xwininfo -id "$menu_window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
  /Width:/ {w = $2} /Height:/ {h = $2} END {print x + int(w / 2), y + h - 12}')
xdotool mousemove "$x" "$y" click 1
code_window=$(dialog "Check code - 5 bits")
shoot "$code_window" checkcode
# Into a file: a Wine program's helpers may hold a pipe open long after it has ended.
timeout 20 wine "$uia_texts" "Check code - 5 bits" >"$work/texts" 2>/dev/null </dev/null || true
code=$(tr -d '\r' <"$work/texts" | awk -F '\t' '$1 ~ /lb_checkcode$/ {print $2}' | head -n1)
if [ -n "$code" ]; then
  xdotool type --delay 30 -- "$code"
  xdotool key Return
else
  # Wine's UI Automation could not read the code: the program, its dialog still open, is ended
  # by the end of the Windows session instead, which lifts the blocks without a code.
  echo "the check code could not be read through UI Automation; ending the session instead"
  wineboot --end-session </dev/null >/dev/null 2>&1 &
fi
wait_for "the block to be lifted" bash -c "! grep -q 'blocked\\.example\\.org' '$folder/system/hosts'"
# Ended: none of its windows is left.
wait_for "the program's windows to go" bash -c "! xdotool search --onlyvisible --name '^(Tallowby|Check code - 5 bits)\$' | grep -q ."
echo "passed"
