#!/usr/bin/env bash
# Fails when a file of src/ includes what its layer may not. The layers, lowest first:
#   os (the floor) < store < engine < platform < ui < app
# A layer includes only its own headers and those of the layers below it. Besides:
# - store and engine stay portable: no Qt and none of the system headers the floor wraps;
# - those system headers (unistd.h, fcntl.h, sys/..., dirent.h, windows.h, ...) are included only by
#   the floor's implementations (os/posix/, os/windows/) and each system's platform files
#   (platform/linux/, platform/x11/, platform/windows/, and hosts_helper/, the Linux-only helper
#   pkexec starts);
# - ui and app include no Linux or X11 header and none of platform/linux/, platform/x11/ or
#   platform/windows/: they know the system by its interfaces (platform/system/desktop_system.h
#   makes the implementations), so they build for every system as they are.
# Usage: check_layers.sh <src folder>
set -uo pipefail
src=${1:?usage: check_layers.sh <src folder>}
cd "$src" || exit 2

rank() {
  case $1 in
    os) echo 0 ;; store) echo 1 ;; engine) echo 2 ;; platform | hosts_helper) echo 3 ;;
    ui) echo 4 ;; app | start) echo 5 ;; *) echo -1 ;;
  esac
}

system_header='^(unistd|fcntl|dirent|poll|spawn|pwd|dlfcn|strings|windows|io|direct)\.h$|^sys/'
linux_header='^(linux|X11|xcb)/'
include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'

failures=0
fail() {
  echo "$1:$2: $3"
  failures=$((failures + 1))
}

while IFS= read -r file; do
  layer=${file%%/*}
  own=$(rank "$layer")
  [ "$own" -lt 0 ] && continue
  under=${file#*/}
  case $file in
    os/posix/* | os/windows/* | platform/linux/* | platform/x11/* | platform/windows/* | hosts_helper/*) may_use_system=1 ;;
    *) may_use_system=0 ;;
  esac
  line=0
  while IFS= read -r text; do
    line=$((line + 1))
    [[ $text =~ $include_line ]] || continue
    kind=${BASH_REMATCH[1]}
    name=${BASH_REMATCH[2]}
    if [ "$kind" = '"' ]; then
      target=$(rank "${name%%/*}")
      if [ "$target" -gt "$own" ]; then
        fail "$file" "$line" "$layer includes $name, of a higher layer (${name%%/*})"
      fi
      if [ "$own" -ge 4 ] && [[ $name =~ ^platform/(linux|x11|windows)/ ]]; then
        fail "$file" "$line" "$layer includes $name: the program knows the platform by its interfaces only"
      fi
      continue
    fi
    if { [ "$layer" = store ] || [ "$layer" = engine ]; } && [[ $name =~ ^Q ]]; then
      fail "$file" "$line" "$layer includes the Qt header $name: store and engine are plain C++"
    fi
    if [ "$may_use_system" = 0 ] && [[ $name =~ $system_header ]]; then
      fail "$file" "$line" "$layer includes the system header $name: only the floor (src/os) and each system's platform call the system"
    fi
    if [ "$own" -ge 4 ] && [[ $name =~ $linux_header ]]; then
      fail "$file" "$line" "$layer includes the Linux/X11 header $name"
    fi
  done <"$file"
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's#^\./##' | sort)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) break the layers"
  exit 1
fi
echo "every include keeps to the layers"
