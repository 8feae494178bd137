#!/bin/sh
# The idle cost of the running sandbox program beside a minimal Qt Widgets program with one 1 Hz
# timer, both on the same private X display (Xvfb + openbox) over the same time:
#   bench/idle/idle_cost.sh <build dir> [seconds]        (default 60 seconds)
# Build the targets tallowby_sandbox and bench_idle_minimal first. The sandbox program runs on a
# private copy of its folder with a session current all day and whole-day rules, so every tick
# sweeps the windows twice. Prints the CPU time each used in the measured span (from utime+stime
# in /proc/PID/stat, after a settling time) and the peak resident memory (VmHWM).
set -eu
build=$1
seconds=${2:-60}
sandbox=$build/sandbox
minimal=$build/bench/idle/bench_idle_minimal
for needed in "$sandbox/tallowby" "$minimal"; do
    [ -x "$needed" ] || { echo "missing $needed: build tallowby_sandbox and bench_idle_minimal" >&2; exit 1; }
done

work=$(mktemp -d)
pids=""
cleanup() {
    # shellcheck disable=SC2086
    [ -n "$pids" ] && kill $pids 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

cp -r "$sandbox" "$work/Tallowby"
folder=$work/Tallowby
rm -f "$folder/system/shutdown.log"
crlf() { printf '%s\r\n' "$@"; }
crlf Default 0 1 0 0 0 0 10 0 1 0 2 0 0 >"$folder/config.db"
crlf Default >"$folder/profiles.db"
crlf 00:00 23:55 1111111 0 "game.exe;" "news.example;" >"$folder/profiles/Default.db"
crlf 1111111 0 "solitaire;" "social.example;" >"$folder/profiles/Default"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"

fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
pids="$!"
display=:$(head -n1 <"$fifo")
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
openbox >/dev/null 2>&1 &
pids="$! $pids"
sleep 1

"$folder/tallowby" 2>/dev/null &
program=$!
"$minimal" 2>/dev/null &
yardstick=$!
pids="$program $yardstick $pids"

ticks=$(getconf CLK_TCK)
cpu() { # pid -> utime+stime in clock ticks
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}
hwm() { # pid -> peak resident memory in kB
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

# Start-up (loading, the first Run, the first ticks) is not idle time.
sleep 5
p0=$(cpu "$program")
m0=$(cpu "$yardstick")
sleep "$seconds"
p1=$(cpu "$program")
m1=$(cpu "$yardstick")

report() { # name start end pid
    awk -v name="$1" -v a="$2" -v b="$3" -v t="$ticks" -v s="$seconds" -v kb="$(hwm "$4")" 'BEGIN {
        ms = (b - a) * 1000 / t
        printf "%-22s CPU %7.0f ms in %d s (%.2f %% of one core, %.1f ms per second)  peak RSS %6.1f MiB\n",
               name, ms, s, ms / (s * 10), ms / s, kb / 1024 }'
}
echo "Idle cost over $seconds s on $display (after 5 s of start-up), clock tick 1/$ticks s:"
report "Tallowby (sandbox)" "$p0" "$p1" "$program"
report "minimal Qt, 1 Hz timer" "$m0" "$m1" "$yardstick"
