# Sourced by the tests written in sh: fail MESSAGE counts a failure and tells it; passed SUMMARY ends
# the test, with status 1 when anything failed.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
passed() {
    [ "$failures" -eq 0 ] || exit 1
    echo "$*"
}
