#!/bin/bash
# lumarsim.exe under Wine never waits for a person: with STARTUP.INI missing,
# init objects shows its error box, which the simulator presses and prints.
#   box_answer.sh SOURCE_DIR LUMARSIM LIBRARY RUNNER...
set -u
src="$1" sim="$2" library="$3"
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/dd"
cp "$src"/driverdir/* "$work/dd/"
rm "$work/dd/STARTUP.INI"
printf 'block 60 1\n' >"$work/p.txt"
timeout 120 "$@" "$sim" open "Z:$work/p.txt" --quiet --library "Z:$library" \
    --driver-dir "Z:$work/dd" --work "Z:$work/w" >"$work/out" 2>"$work/err"
rc=$?
if [ $rc -eq 0 ] && grep -q "^\[box: Chyba\] Startovacího soubor STARTUP.INI nebyl nalezen." "$work/err"; then
    echo "box answer: 1 passed, 0 failed"
    exit 0
fi
echo "exit code $rc"; cat "$work/err"
echo "box answer: 0 passed, 1 failed"
exit 1
