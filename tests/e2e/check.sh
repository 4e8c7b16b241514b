# The checks of an end-to-end script: sourced by each, after `set -u`.
#   check DESCRIPTION COMMAND...   runs COMMAND; "ok: ..." or "FAILED: ..."
#   finish NAME                    the count line, and the exit code (1 on any failure)
passed=0 failures=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
finish() {
    echo "$1: $passed passed, $failures failed"
    exit $((failures > 0))
}
