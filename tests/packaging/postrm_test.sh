#!/bin/sh
# postrm_test.sh POSTRM: the package's postrm on copies of hosts files, never the machine's own
# (TALLOWBY_POSTRM_HOSTS_FILE points it at them). Each case gives the file before and after, with
# printf escapes; the program's block is written B (begin marker), S (one of its site lines),
# P and Q (the lines that open two users' parts) and E (end marker).
set -u
postrm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

B='# BEGIN Tallowby blocked sites - managed by Tallowby, do not edit'
S='127.0.0.1       blocked.example'
E='# END Tallowby blocked sites'
L='127.0.0.1       localhost'
P='# Tallowby sites of user 1000'
Q='# Tallowby sites of user S-1-5-21-7-1001'

# expand TEXT: printf escapes and the block's shorthands.
expand() {
    printf '%s' "$1" | sed -e "s/{B}/$B/g" -e "s/{S}/$S/g" -e "s/{E}/$E/g" -e "s/{L}/$L/g" \
        -e "s/{P}/$P/g" -e "s/{Q}/$Q/g" >"$work/format"
    printf "$(cat "$work/format")"
}

# run FILE ARGUMENT: the script's status, with FILE as its hosts file.
run() {
    TALLOWBY_POSTRM_HOSTS_FILE=$1 "$postrm" "$2"
}

# check NAME ARGUMENT BEFORE AFTER: the file holds AFTER byte for byte once the script ran.
check() {
    folder="$work/$1"
    mkdir -p "$folder"
    expand "$3" >"$folder/hosts"
    expand "$4" >"$work/expected"
    run "$folder/hosts" "$2" || fail "$1: the script failed"
    cmp -s "$folder/hosts" "$work/expected" || fail "$1: got $(od -c "$folder/hosts")"
    [ "$(ls -A "$folder")" = hosts ] || fail "$1: left beside the file: $(ls -A "$folder")"
}

# untouched NAME ARGUMENT TEXT: the script neither changes nor rewrites the file.
untouched() {
    folder="$work/$1"
    mkdir -p "$folder"
    expand "$3" >"$folder/hosts"
    touch -d @1000000000 "$folder/hosts"
    before=$(stat -c '%i %Y %s' "$folder/hosts")
    run "$folder/hosts" "$2" || fail "$1: the script failed"
    [ "$(stat -c '%i %Y %s' "$folder/hosts")" = "$before" ] || fail "$1: the file was rewritten"
}

check middle remove '127.0.0.1\tlocalhost\n{B}\n{L}\n{S}\n{E}\n::1\tip6-localhost\n' \
    '127.0.0.1\tlocalhost\n::1\tip6-localhost\n'
check end-without-line-end purge 'a\n{B}\n{L}\n{S}\n{E}' 'a\n'
check last-user-line-without-line-end remove '{B}\n{S}\n{E}\nuser line' 'user line'
check crlf remove 'a\r\n{B}\r\n{L}\r\n{S}\r\n{E}\r\nb\r\n' 'a\r\nb\r\n'
check blanks-around-markers remove 'a\n  {B} \t\n{S}\n\t{E}\r\n' 'a\n'
check users-line-inside-kept remove '{B}\n# my note\n{S}\n127.0.0.1 mine.example\n{E}\n' \
    '# my note\n127.0.0.1 mine.example\n'
check end-marker-lost remove 'a\n{B}\n{L}\n{S}\nuser line\n{S}\n' 'a\nuser line\n{S}\n'
check two-blocks disappear '{B}\n{S}\n{E}\na\n{B}\n{S}\n{E}\n' 'a\n'
check lone-end-marker remove '{S}\n{E}\n' '{S}\n'
# Every user's part goes, and the lock file beside the file; a user's comment of the same look
# outside the block stays.
check users-parts purge '{Q}\n{B}\n{L}\n{P}\n{S}\n{Q}\n{S}\n{E}\n' '{Q}\n'
touch "$work/users-parts/.hosts.tallowby-lock"
check users-parts remove '{B}\n{L}\n{P}\n{S}\n{E}\na\n' 'a\n'
untouched no-block remove '127.0.0.1\tlocalhost\n# BEGIN Tallowby\n'
untouched empty purge ''
for argument in upgrade failed-upgrade abort-install abort-upgrade; do
    untouched "$argument" "$argument" 'a\n{B}\n{S}\n{E}\n'
done

# The rewritten file keeps the old one's owner and mode.
folder="$work/owner"
mkdir -p "$folder"
expand 'a\n{B}\n{S}\n{E}\n' >"$folder/hosts"
chmod 0640 "$folder/hosts"
[ "$(id -u)" = 0 ] && chown 65534:65534 "$folder/hosts"
before=$(stat -c '%a %u %g' "$folder/hosts")
run "$folder/hosts" remove
[ "$(stat -c '%a %u %g' "$folder/hosts")" = "$before" ] || fail "owner: $(stat -c '%a %u %g' "$folder/hosts"), not $before"

# A link is followed to the file it leads to, which is rewritten; the link stays a link. Anything but
# a regular file at its end is left alone.
check link-target remove 'a\n{B}\n{S}\n{E}\n' 'a\n'
mkdir -p "$work/link"
ln -s ../link-target/hosts "$work/link/hosts"
expand 'b\n{B}\n{S}\n{E}\n' >"$work/link-target/hosts"
run "$work/link/hosts" remove || fail "link: the script failed"
[ -L "$work/link/hosts" ] || fail "link: the link was replaced"
[ "$(cat "$work/link-target/hosts")" = b ] || fail "link: the file it leads to kept the block"
ln -s "$work/link-target" "$work/link/folder"
ln -s "$work/nothing" "$work/link/dangling"
for name in folder dangling; do
    run "$work/link/$name" remove || fail "link to a $name: the script failed"
done
[ ! -e "$work/nothing" ] || fail "dangling link: a file was made where it leads"

# A hosts file that is a mount point cannot be renamed over: it is rewritten in place.
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    expand 'a\n{B}\n{S}\n{E}\n' >"$work/mounted"
    : >"$work/mount-point"
    TALLOWBY_POSTRM_HOSTS_FILE="$work/mount-point" unshare -m sh -c \
        'mount --make-rprivate / && mount --bind "$1" "$TALLOWBY_POSTRM_HOSTS_FILE" && "$2" remove' \
        sh "$work/mounted" "$postrm" || fail "mount point: the script failed"
    [ "$(od -c "$work/mounted")" = "$(printf 'a\n' | od -c)" ] || fail "mount point: got $(od -c "$work/mounted")"
else
    echo "the mount point case needs root and unshare: left out"
fi

[ "$failures" = 0 ] || exit 1
echo "postrm: every case passed"
