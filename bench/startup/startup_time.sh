#!/bin/sh
# How long the sandbox program takes to show its window, to run its first tick, and to end, with
# rule files as large as the program reads:
#   bench/startup/startup_time.sh <build dir> [runs]          (default 5 runs)
# The profile has 288 five-minute sessions covering the whole day, each listing programs and
# websites up to the session file's size bound, whole-day lists of as many entries as are read, and
# 1440 reminders with subjects of the longest length shown. Build tallowby_sandbox first.
# Prints, per run, the seconds from the start to the main window on show, to the first tick's
# website block in the hosts file (the current session's websites), and from the system's request
# to end (SIGTERM) to the process gone, with its website block lifted.
set -eu
build=$1
runs=${2:-5}
sandbox=$build/sandbox
[ -x "$sandbox/tallowby" ] || { echo "missing $sandbox/tallowby: build tallowby_sandbox" >&2; exit 1; }
# The bounds the program reads to (src/store/rule_limits.h).
session_file_bytes=${SESSION_FILE_BYTES:-4194304}

. "$(dirname "$0")/../scratch.sh"

cp -r "$sandbox" "$work/Tallowby"
folder=$work/Tallowby
python3 - "$folder" "$session_file_bytes" <<'PY'
import sys
folder, limit = sys.argv[1], int(sys.argv[2])
def write(name, lines):
    with open(f"{folder}/{name}", "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
write("config.db", ["Default", "0", "0", "0", "0", "0", "0", "10", "0", "1", "0", "2", "0", "0"])
write("profiles.db", ["Default"])
sessions = 288
# Entries per list so that the whole file stays just under its bound.
entry = len("s000-e000.example;")
per_list = min(500, (limit // sessions - 64) // (2 * entry))
lines = []
for i in range(sessions):
    start, end = i * 5, min(i * 5 + 5, 24 * 60 - 1)
    lines += [f"{start // 60:02}:{start % 60:02}", f"{end // 60:02}:{end % 60:02}", "1111111", "0",
              "".join(f"p{i:03}-e{j:03}.exe;" for j in range(per_list)),
              "".join(f"s{i:03}-e{j:03}.example;" for j in range(per_list))]
write("profiles/Default.db", lines)
write("profiles/Default", ["1111111", "0", "".join(f"w-p{j:03}.exe;" for j in range(500)),
                           "".join(f"w-s{j:03}.example;" for j in range(500))])
reminders = ["0000000", "22:30", "0", "0", "0"]
for i in range(1440):
    reminders += [f"{i // 60:02}:{i % 60:02}", "0", "0000000", "r" * 1000]
write("profiles/Default.rem", reminders)
PY
ls -l "$folder/profiles" | awk 'NR > 1 { printf "%s %d bytes\n", $NF, $5 }'

. "$(dirname "$0")/../private_desktop.sh"

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
hosts=$folder/system/hosts
echo "run  window  first tick  end"
run=1
while [ "$run" -le "$runs" ]; do
    cp /dev/null "$hosts"
    start=$(now)
    "$folder/tallowby" 2>/dev/null &
    program=$!
    until xdotool search --onlyvisible --name '^Tallowby$' >/dev/null 2>&1; do sleep 0.02; done
    window=$(since "$start")
    until grep -q -- '-e000.example' "$hosts" 2>/dev/null && grep -q '^127.0.0.1 *s' "$hosts"; do sleep 0.02; done
    tick=$(since "$start")
    stop=$(now)
    kill -TERM "$program"
    wait "$program" || true
    ended=$(since "$stop")
    grep -q '^127.0.0.1 *s' "$hosts" && ended="$ended (block left!)"
    echo "$run    $window    $tick        $ended"
    run=$((run + 1))
done
