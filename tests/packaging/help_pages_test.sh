#!/bin/sh
# help_pages_test.sh INSTALLED FOLDER SANDBOX: the help page each layout is given (the package's, a
# program folder's, the sandbox's) tells where that layout keeps its files and what it needs, and
# holds nothing of the others'.
set -u
installed=$1
folder=$2
sandbox=$3
. "$(dirname "$0")/../support/shell_checks.sh"

# has PAGE WORDS...: every one of the words is on the page (fixed strings).
has() {
    page=$1
    shift
    for words in "$@"; do
        grep -qF -- "$words" "$page" || fail "$page does not say \"$words\""
    done
}

# lacks PAGE PATTERN WHY: no line of the page matches the extended pattern (case ignored).
lacks() {
    if grep -qiE -- "$2" "$1"; then
        fail "$1 $3: $(grep -iE -- "$2" "$1" | head -n 3)"
    fi
}

for page in "$installed" "$folder" "$sandbox"; do
    [ -s "$page" ] || fail "$page is missing or empty"
    lacks "$page" '<!--/?only' "keeps the markers of another layout's parts"
done

# The package runs as the user: data and autostart entry in the user's home, the hosts file through
# the helper, nothing asked of root.
has "$installed" "~/.local/share/tallowby" "~/.config/autostart" "/usr/share/tallowby" \
    "/usr/libexec/tallowby/tallowby-hosts" "apt remove"
lacks "$installed" '\broot\b|sudo -E|/etc/xdg/autostart|beside the program|scripts/run\.sh' \
    "speaks of another layout"

has "$folder" "/etc/xdg/autostart" "beside the program" "root" "sandbox"
lacks "$folder" '~/\.local/share/tallowby|~/\.config/autostart' "speaks of the package"

has "$sandbox" "system/hosts" "system/autostart" "shutdown.log" "beside the program"
lacks "$sandbox" '~/\.local/share/tallowby|~/\.config/autostart|start it as root' "speaks of another layout"

passed "help pages: every layout's page fits it"
