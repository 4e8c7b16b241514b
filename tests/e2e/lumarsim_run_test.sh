#!/bin/bash
# Run mode end to end: lumarsim plays the host against the driver, which
# starts the ROZID7.EXE stand-in; live values of the sample project arrive, a
# write shows in the next read, StopRUN ends the program; the stand-in's
# misbehaviour shows in what the host gets. Natively the driver and the
# stand-in run inside lumarsim; under Wine they are the real LMDRIVER.DLL and
# ROZID7.EXE, started from the build's driver directory.
#   lumarsim_run_test.sh SOURCE_DIR PATH_PREFIX LUMARSIM LIBRARY DRIVER_DIR [RUNNER...]
# PATH_PREFIX is "Z:" when the simulator runs under Wine, else empty.
set -u
src="$1" prefix="$2" sim="$3" library="$4" driverdir="$5"
shift 5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
# Every session is bounded: a hang fails the test instead of blocking it.
run() {
    timeout 120 "${runner[@]}" "$sim" run "$prefix$src/samples/demo-project.txt" \
        --library "$prefix$library" --driver-dir "$prefix$driverdir" --work "$prefix$work/w" \
        "$@" >"$work/out" 2>"$work/err"
}
log() { tr -d '\r' <"$work/w/OVLADACE/KADEX2/LMDRIVER.LOG"; }
out() { tr -d '\r' <"$work/out"; }
# The line of the first value TEXT of X after the line matching AFTER.
value_after() { out | sed -n "/$1/,\$p" | grep -qE "TERMOST:2\.X +=  +$2\$"; }

runner=("$@")
run --seconds 3 --order TERMOST:2.X@2 --order 43:2.W@3 --set TERMOST:2.X=25
rc=$?
check "a session with orders and a write ends well" test $rc -eq 0
check "the first value of X arrives" value_after "order TERMOST" 0
check "the written value shows in a later read" value_after "set TERMOST:2.X = 25 (19 00 00 00) -> sent" 25
check "the second order has values" grep -qE "43:2\.W +=  +0 +[1-9][0-9]* values, 0 failed" "$work/out"
check "StopRUN ends the program" grep -q "the communication program has ended" "$work/out"
[ $rc -eq 0 ] || { cat "$work/out" "$work/err"; }

run --seconds 4 --order TERMOST:2.X@2 --simulate "DROP 2"
check "a lost answer is asked again after the time-out" \
    sh -c "test $? -eq 0 && tr -d '\r' <'$work/w/OVLADACE/KADEX2/LMDRIVER.LOG' | grep -q 'TIMER answer time-out - order requested again'"

run --seconds 6 --order TERMOST:2.X@2 --simulate "DROP 3"
rc=$?
# Every failure line is followed by a value again, and a value after a
# failure carries the latched mark beside it.
check "after each lost answer the value shows again" sh -c "test $rc -eq 0 && tr -d '\r' <'$work/out' |
    awk '/TERMOST:2\.X += \(failed\)\$/{f++; open=1; next}
         /TERMOST:2\.X += +0  \(failed before\)\$/{if (open) back++; open=0}
         END{exit !(f >= 1 && back == f)}'"
check "and the order ends with more values than failures" sh -c "tr -d '\r' <'$work/out' |
    grep -E 'TERMOST:2\.X += .* [0-9]+ values, [0-9]+ failed' |
    awk '{for (i = 1; i < NF; i++) { if (\$(i+1) == \"values,\") v = \$i; if (\$(i+1) == \"failed\") f = \$i }}
         END{exit !(v > f && f >= 1)}'"

run --seconds 2 --order TERMOST:2.X@2 --simulate "COM_ERROR 1"
rc=$?
check "a line error fails the session" test $rc -eq 1
check "and the order gets a failure answer" grep -qE "TERMOST:2\.X += \(failed\)" "$work/out"
check "and the driver logs it" sh -c "tr -d '\r' <'$work/w/OVLADACE/KADEX2/LMDRIVER.LOG' | grep -q 'All unfinished orders skiped - COM error'"

run --seconds 2 --order TERMOST:2.X@2 --simulate GARBAGE
rc=$?
# Garbage gives the host no value; once the line's time-out has passed (1.5 s
# after the request), a failure answer.
check "garbage gives the host no value" \
    sh -c "test $rc -eq 1 && grep -qE 'TERMOST:2\.X += \((none|failed)\) +0 values' '$work/out'"

run --seconds 2 --order TERMOST:2.X@2 --simulate "DIE 2"
check "a program that dies leaves the driver answering and unloading" \
    grep -q "unload driver  code  3 -> TRUE" "$work/out"

# The script's run-mode steps (natively with the driver in process).
in_process=()
[ -z "$prefix" ] && in_process=(--in-process)
timeout 120 "${runner[@]}" "$sim" script "$prefix$src/tests/e2e/run_mode.script" \
    --library "$prefix$library" --driver-dir "$prefix$driverdir" --work "$prefix$work/s" \
    "${in_process[@]}" >"$work/script" 2>"$work/err"
rc=$?
tr -d '\r' <"$work/script" >"$work/script.lf"
check "the run-mode script runs" test $rc -eq 0
check "StartRUN succeeds" grep -q "^call startrun result=1 wparam1=1 dlm_func=0" "$work/script.lf"
check "the order's values reach the host window" \
    grep -qE "answer kind=2 obj=43 instance=2 item=1 valid=1 length=2 timeout=0 failed=0 data=00000000" "$work/script.lf"
check "a value the program sends reaches the host at once" \
    sh -c "awk '/^tolan 2/{on=1;next} on&&/^call/{on=0} on' '$work/script.lf' | grep -q data=2A000000"
check "the write shows in a later read" grep -q "data=19000000" "$work/script.lf"
[ $rc -eq 0 ] || cat "$work/script.lf" "$work/err"

finish "lumarsim run"
