#!/bin/sh
# command_line_test.sh PROGRAM VERSION: --help and --version answer and end with status 0, any other
# argument is refused with one line on standard error and status 2, and a start without a desktop
# session says so in one line and ends with status 1. Every case is cut short after 20 s: a program
# that opened its window instead would otherwise run on.
set -u
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/shell_checks.sh"

# run CASE ENV...: the program with its arguments in $args, in an environment of these variables
# alone; its status, output and errors in $status, $work/out and $work/err.
run() {
    name=$1
    shift
    # shellcheck disable=SC2086
    env -i PATH=/usr/bin:/bin "HOME=$work" "$@" timeout 20 "$program" $args >"$work/out" 2>"$work/err"
    status=$?
}

expect() {
    [ "$status" -eq "$1" ] || fail "$name: status $status, not $1 ($(cat "$work/err"))"
    lines=$(wc -l <"$work/err")
    [ "$lines" -eq "$2" ] || fail "$name: $lines lines on standard error, not $2: $(cat "$work/err")"
}

# A display for Qt that needs none, so a program that does not end by itself is cut short.
offscreen=QT_QPA_PLATFORM=offscreen

args=--help
run help "$offscreen"
expect 0 0
grep -q '^Usage: tallowby' "$work/out" || fail "help: no usage: $(cat "$work/out")"

args=--version
run version "$offscreen"
expect 0 0
[ "$(cat "$work/out")" = "tallowby $version" ] || fail "version: $(cat "$work/out")"

for args in --bogus -platform "--help-me" "some-file"; do
    run "refused $args" "$offscreen"
    expect 2 1
    [ -s "$work/out" ] && fail "refused $args: wrote to standard output"
    grep -q -- "$args" "$work/err" || fail "refused $args: the argument is not named: $(cat "$work/err")"
done

args=
run "no display"
expect 1 1
grep -q 'needs a desktop session' "$work/err" || fail "no display: $(cat "$work/err")"
run "no display, xcb" QT_QPA_PLATFORM=xcb
expect 1 1
# A display named that no server serves: Qt's own abort would end it with status 134.
run "display unreachable" DISPLAY=:4097
expect 1 1
grep -q 'needs a desktop session' "$work/err" || fail "display unreachable: $(cat "$work/err")"

passed "command line: every case passed"
