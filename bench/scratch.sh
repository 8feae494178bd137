# Sourced by the benchmark scripts first: a scratch folder ($work) and the list of processes they
# start ($pids), both cleaned up however the script ends.
work=$(mktemp -d)
pids=""
cleanup() {
    # shellcheck disable=SC2086
    [ -n "$pids" ] && kill $pids 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
