#!/bin/sh
# The idle cost of the running sandbox program beside a minimal Qt Widgets program with one 1 Hz
# timer, both on the same private X display (Xvfb + openbox) over the same time, with 20 ordinary
# client windows of 20 other processes open for the sweeps to judge:
#   bench/idle/idle_cost.sh <build dir> [seconds]        (default 60 seconds)
# "Block Task Manager" is on, so every tick also looks for system monitors to end;
# BLOCK_TASK_MANAGER=0 turns it off. Run it as an ordinary user (e.g. `runuser -u nobody -- sh
# bench/idle/idle_cost.sh ...`): as root the program hears of processes from the kernel instead of
# reading /proc.
# Build the targets tallowby_sandbox, bench_idle_minimal and testwin first. The sandbox program runs
# on a private copy of its folder with a Block session current all day and whole-day rules, so every
# tick sweeps the windows twice; none of the 20 windows is on a list, so none is acted on.
# Prints the on-CPU time each program used in the measured span (every thread's sum_exec_runtime
# from /proc/PID/task/*/schedstat, in nanoseconds: utime+stime come in 10 ms clock ticks, too
# coarse for a program that idles at a few milliseconds a second), the ratio of the two, and the
# peak resident memory (VmHWM).
set -eu
build=$1
seconds=${2:-60}
windows=20
sandbox=$build/sandbox
minimal=$build/bench/idle/bench_idle_minimal
testwin=$build/tests/support/testwin
for needed in "$sandbox/tallowby" "$minimal" "$testwin"; do
    [ -x "$needed" ] || {
        echo "missing $needed: build tallowby_sandbox, bench_idle_minimal and testwin" >&2
        exit 1
    }
done

. "$(dirname "$0")/../scratch.sh"

cp -r "$sandbox" "$work/Tallowby"
folder=$work/Tallowby
rm -f "$folder/system/shutdown.log"
crlf() { printf '%s\r\n' "$@"; }
crlf Default 0 "${BLOCK_TASK_MANAGER:-1}" 0 0 0 0 10 0 1 0 2 0 0 >"$folder/config.db"
crlf Default >"$folder/profiles.db"
crlf 00:00 23:55 1111111 0 "game.exe;" "news.example;" >"$folder/profiles/Default.db"
crlf 1111111 0 "solitaire;" "social.example;" >"$folder/profiles/Default"

. "$(dirname "$0")/../private_desktop.sh"

# Each window its own process, as ordinary programs are: the sweeps name every one.
i=1
while [ "$i" -le "$windows" ]; do
    "$testwin" "Document $i" >/dev/null &
    pids="$! $pids"
    i=$((i + 1))
done

"$folder/tallowby" 2>/dev/null &
program=$!
"$minimal" 2>/dev/null &
yardstick=$!
pids="$program $yardstick $pids"

cpu() { # pid -> nanoseconds on a CPU, all threads
    cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%.0f\n", ns }'
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
pk=$(hwm "$program")
mk=$(hwm "$yardstick")

report() { # name start end peak-kB
    awk -v name="$1" -v a="$2" -v b="$3" -v s="$seconds" -v kb="$4" 'BEGIN {
        ms = (b - a) / 1e6
        printf "%-22s CPU %7.1f ms in %d s (%.3f %% of one core, %.2f ms per second)  peak RSS %6.1f MiB\n",
               name, ms, s, ms / (s * 10), ms / s, kb / 1024 }'
}
echo "Idle cost over $seconds s on $display with $windows client windows (after 5 s of start-up):"
report "Tallowby (sandbox)" "$p0" "$p1" "$pk"
report "minimal Qt, 1 Hz timer" "$m0" "$m1" "$mk"
awk -v p="$((p1 - p0))" -v m="$((m1 - m0))" -v pk="$pk" -v mk="$mk" 'BEGIN {
    printf "Ratio to the minimal program: CPU %.1fx, peak RSS %.2fx\n", p / m, pk / mk }'
