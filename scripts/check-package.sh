#!/usr/bin/env bash
# check-package.sh DEB: fails unless the Debian package holds every file of an installation, owned
# by root with the modes Debian expects, its maintainer script, a menu entry that validates, an
# AppStream entry that validates and names that menu entry, icons of the size their folder names, the
# installed program's help page, dependencies found by dpkg-shlibdeps, hardened binaries, and no
# error or warning from lintian.
# It only reads the package and unpacks it into a temporary folder; it installs nothing.
set -euo pipefail
deb=$1
failures=0
fail() {
  echo "check-package: $*" >&2
  failures=$((failures + 1))
}

# Websites are blocked through the privileged helper, which only polkit's action lets a user start.
executables=(./usr/bin/tallowby ./usr/libexec/tallowby/tallowby-hosts)
expected=(
  ./usr/share/polkit-1/actions/org.tallowby.hosts.policy
  ./usr/share/tallowby/config.db ./usr/share/tallowby/profiles.db
  ./usr/share/tallowby/profiles/Default ./usr/share/tallowby/profiles/Default.db
  ./usr/share/tallowby/profiles/Default.rem
  ./usr/share/tallowby/sound/rmd.wav ./usr/share/tallowby/sound/shutd.wav
  ./usr/share/tallowby/icon/t64.ico ./usr/share/tallowby/icon/t64b.ico
  "./usr/share/tallowby/Tallowby - Help.htm"
  ./usr/share/applications/org.tallowby.Tallowby.desktop
  ./usr/share/metainfo/org.tallowby.Tallowby.metainfo.xml
  ./usr/share/man/man1/tallowby.1.gz
  ./usr/share/doc/tallowby/copyright ./usr/share/doc/tallowby/changelog.Debian.gz
  ./usr/share/lintian/overrides/tallowby
)
icon_sizes=(16 32 48 64 128 256)
for size in "${icon_sizes[@]}"; do
  expected+=("./usr/share/icons/hicolor/${size}x$size/apps/tallowby.png")
done

is_executable() {
  local e
  for e in "${executables[@]}"; do [ "$e" = "$1" ] && return 0; done
  return 1
}
# dpkg-deb -c: mode, owner, size, date, time, then the path, which may hold spaces.
paths=()
while read -r mode owner _ _ _ path; do
  paths+=("$path")
  [ "$owner" = root/root ] || fail "$path is owned by $owner, not root/root"
  case $mode in
  d*) want=drwxr-xr-x ;;
  -*) if is_executable "$path"; then want=-rwxr-xr-x; else want=-rw-r--r--; fi ;;
  *) want="a directory or a plain file" ;;
  esac
  [ "$mode" = "$want" ] || fail "$path has mode $mode, not $want"
done < <(dpkg-deb -c "$deb")
# grep reads the whole list: with -q it could stop early, and printf's broken pipe would fail the
# pipeline (pipefail) for a path that is there.
for path in "${executables[@]}" "${expected[@]}"; do
  printf '%s\n' "${paths[@]}" | grep -xF "$path" >/dev/null || fail "$path is missing"
done

# Removing the package takes the program's block of websites out of /etc/hosts.
dpkg-deb --ctrl-tarfile "$deb" | tar -tvf - | grep -E '^-rwxr-xr-x root/root .* \./postrm$' >/dev/null ||
  fail "the postrm that takes the block out of /etc/hosts is missing, or not root's with mode 0755"

depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks the Qt libraries dpkg-shlibdeps finds: $depends"
grep -q 'pkexec' <<<"$depends" || fail "Depends lacks pkexec: $depends"
grep -q 'libsdl2-mixer' <<<"$depends" || fail "Depends lacks SDL2_mixer, which is opened at run time: $depends"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/org.tallowby.Tallowby.desktop" ||
  fail "the menu entry does not validate"
# Software centres list the package by its AppStream entry, whose id is the menu entry's. The
# network is not asked: its addresses are the project's web site's.
metainfo=$unpacked/usr/share/metainfo/org.tallowby.Tallowby.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "the AppStream entry does not validate"
appstreamcli validate-tree --no-net "$unpacked" || fail "the AppStream entry and the menu entry do not agree"
# The help page is the installed program's: the user's own folders, and no call for root.
help_page="$unpacked/usr/share/tallowby/Tallowby - Help.htm"
for folder in '~/.local/share/tallowby' '~/.config/autostart'; do
  grep -qF "$folder" "$help_page" || fail "the help page does not name $folder"
done
if grep -qiwE 'root' "$help_page"; then fail "the help page asks for root"; fi
for size in "${icon_sizes[@]}"; do
  file "$unpacked/usr/share/icons/hicolor/${size}x$size/apps/tallowby.png" |
    grep -q "PNG image data, $size x $size," || fail "the ${size}x$size icon is not a $size-pixel PNG"
done

# A package outside Debian's archive closes no request-for-packaging bug.
report=$(lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs --display-info "$deb" 2>&1) ||
  fail "lintian found errors or warnings"
printf '%s\n' "$report"
# Lintian only informs of a binary bound late or without fortified functions. The program calls
# functions that fortify checks, so it must have them; the hosts helper may call none.
if grep -qE 'hardening-no-(relro|bindnow|pie)|hardening-no-fortify-functions \[usr/bin/' <<<"$report"; then
  fail "a binary lacks Debian's hardening flags"
fi

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures problem(s) in $deb" >&2
  exit 1
fi
echo "check-package: $deb is complete"
