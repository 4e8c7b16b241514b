#!/bin/bash
# lmcheck end to end: the sample driver directory checks clean; the broken one
# gives exactly the findings marked in its files, at their lines and columns;
# a damaged copy of the sample fails; --json and --strict answer.
#   lmcheck_test.sh SOURCE_DIR PATH_PREFIX LMCHECK [RUNNER...]
# PATH_PREFIX goes before the folders handed to LMCHECK ("Z:" under Wine).
set -u
src="$1" prefix="$2" lmcheck="$3"
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
run() {  # run DIR [OPTIONS]: output in $work/out (without CR), exit code in $rc
    local dir="$1"
    shift
    "${runner[@]}" "$lmcheck" "$prefix$dir" "$@" >"$work/raw" 2>"$work/err"
    rc=$?
    tr -d '\r' <"$work/raw" >"$work/out"
}
runner=("$@")

# The findings as NAME:LINE:COL:SEVERITY:CODE, NAME without its folder.
findings() {
    sed -n 's/^\(.*\):\([0-9]*\):\([0-9]*\): \(error\|warning\): .* \[\([a-z-]*\)\]$/\1:\2:\3:\4:\5/p' "$1" |
        sed 's|^.*[/\\]||' | sort
}
# The marks of the broken folder in the same form: { expect SEVERITY CODE [at WORD] }.
marks() {
    local file
    for file in "$1"/*; do
        [ -f "$file" ] || continue
        awk -v name="$(basename "$file")" '{
            sub(/\r$/, "")
            line = $0
            first = match(line, /[^ \t]/)
            rest = line
            while (match(rest, /\{ expect [a-z]+ [a-z-]+( at [^ ]+)? \}/)) {
                n = split(substr(rest, RSTART + 2, RLENGTH - 4), w, " ")
                column = first
                if (n == 5) column = index(line, w[5])
                print name ":" NR ":" column ":" w[2] ":" w[3]
                rest = substr(rest, RSTART + RLENGTH)
            }
        }' "$file"
    done | sort
}

run "$src/driverdir"
check "the sample driver directory checks clean (exit 0)" test "$rc" -eq 0
check "and prints only the summary" test "$(wc -l <"$work/out")" -eq 1
check "which counts its objects" grep -q '^lmcheck: .*: 33 objects in 5 tools; 0 errors, 0 warnings$' "$work/out"

broken="$src/tests/data/broken-driverdir"
run "$broken"
check "the broken folder fails with exit code 2" test "$rc" -eq 2
findings "$work/out" >"$work/found"
marks "$broken" >"$work/marked"
check "every marked finding is found at its place, and nothing else" diff "$work/marked" "$work/found"
check "the driver's Czech messages come out in UTF-8" \
    grep -q 'Chyba startovacího souboru' "$work/out"

run "$broken" --json
check "--json keeps the exit code" test "$rc" -eq 2
check "--json prints one JSON array with every finding" python3 -c '
import json, sys
findings = json.load(open(sys.argv[1]))
assert len(findings) == int(sys.argv[2]), len(findings)
assert all(f["line"] >= 1 and f["column"] >= 1 and f["severity"] in ("error", "warning") for f in findings)
' "$work/out" "$(wc -l <"$work/marked")"

# A damaged copy of the sample: one TYP misspelt.
cp -r "$src/driverdir" "$work/damaged"
sed -i '0,/TYP         INT/s//TYP         INTEGER/' "$work/damaged/ADD.DEF"
run "$work/damaged"
check "a damaged copy fails with exit code 2" test "$rc" -eq 2
check "naming the misspelt TYP at its place" \
    grep -q '^.*ADD.DEF:29:19: error: LOAD DATAITEM TYP: .* \[bad-typ\]$' "$work/out"
check "and the object file in TOOLS.INI where the driver would stop" \
    grep -q 'TOOLS.INI:[0-9]*:[0-9]*: warning: .*ADD.DEF.* \[load-stops\]$' "$work/out"

# Warnings only: exit 0, or 1 with --strict.
cp -r "$src/driverdir" "$work/warned"
sed -i 's/^\(  BM_LIB *\)LIB_ARIT.BMP/\1NOTHERE.BMP/' "$work/warned/ADD.DEF"
run "$work/warned"
check "warnings alone give exit code 0" test "$rc" -eq 0
run "$work/warned" --strict
check "and 1 with --strict" test "$rc" -eq 1

run "$work/no-such-folder"
check "a folder that is not there gives exit code 2" test "$rc" -eq 2

finish "lmcheck e2e"
