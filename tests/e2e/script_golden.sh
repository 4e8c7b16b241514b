#!/bin/bash
# A lumarsim script of the host's whole order of life against the sample
# driver directory; its transcript must equal the golden one byte for byte.
#   script_golden.sh SOURCE_DIR PATH_PREFIX LUMARSIM LIBRARY [RUNNER...]
# PATH_PREFIX is "Z:" when the simulator runs under Wine, else empty.
set -u
src="$1" prefix="$2" sim="$3" library="$4"
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$@" "$sim" script "$prefix$src/tests/golden/order_of_life.script" \
    --library "$prefix$library" --driver-dir "$prefix$src/driverdir" --work "$prefix$work/w" \
    >"$work/transcript" 2>"$work/err"
rc=$?
tr -d '\r' <"$work/transcript" >"$work/transcript.lf"
if [ $rc -ne 0 ] || ! cmp -s "$work/transcript.lf" "$src/tests/golden/order_of_life.transcript"; then
    echo "transcript differs from the golden one (exit code $rc):"
    cat "$work/err"
    diff "$src/tests/golden/order_of_life.transcript" "$work/transcript.lf"
    echo "script: 0 passed, 1 failed"
    exit 1
fi
echo "script: 1 passed, 0 failed"
