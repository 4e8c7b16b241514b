#!/bin/bash
# lumarsim never loses a file and never says ok after a failure: one row per
# case, each with its exit code and the words it must print; the fixtures are
# made here.
#   lumarsim_cases.sh LUMARSIM LIBRARY SOURCE_DIR
set -u
sim="$1" library="$2" src="$3"
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"

# Fixtures: a driver directory, one without a definition the project needs,
# one with an export left from an earlier run, projects with every kind of
# line end and mistake.
cp -r "$src/driverdir" "$t/dd"
cp -r "$src/driverdir" "$t/nodef" && rm "$t/nodef/TERMOST.DEF"
cp -r "$src/driverdir" "$t/stale" && rm "$t/stale/SETCOM.INI" && echo old >"$t/stale/LMKOMUN.INI"
mkdir -p "$t/foreign/OVLADACE/KADEX2" && echo mine >"$t/foreign/OVLADACE/KADEX2/MINE.DEF"
mkdir -p "$t/inner" && cp -r "$src/driverdir" "$t/inner/dd"
printf '# heating\nblock 43 2\nline K2_USER NOSUCH = 1\n' >"$t/refused.txt"
printf '# heating\nblock 43 2\nline K2_USER HYST = 7\n# its limits\nblock 11 1\nline K2_USER MAX0 = 150.00\n' \
    >"$t/termost.txt"
printf '# heating\nblock 43 2\n# its limits\nblock 11 1\nline K2_USER MAX0 = 150.00\n' >"$t/comments.txt"
printf '# heating\rblock 11 1\rline K2_USER MAX0 = 150.00\r' >"$t/cr.txt"
printf '# heating\r\nblock 11 1\r\nline K2_USER MAX0 = 150.00\r\n' >"$t/crlf.txt"
printf 'block 11 1\nline K2_USER MAX0 = 1\nblock 11 1\n' >"$t/twice.txt"
cp "$t/termost.txt" "$t/original.txt"
printf 'call identify wparam1=3 lparam1=34 -> string1:hex:4096\n' >"$t/over.script"
count() { find "$1" -type f | wc -l; }
dd_files=$(count "$t/dd")

# DESCRIPTION | EXIT CODE | OUTPUT (out or err) | WORDS (grep -E) | ARGUMENTS
cases=(
"work equal to the driver directory is refused|2|err|are one folder|open $t/termost.txt --driver-dir $t/dd --work $t/dd"
"work inside the driver directory is refused|2|err|lies inside the driver directory|open $t/termost.txt --driver-dir $t/dd --work $t/dd/w"
"the driver directory inside work is refused|2|err|lies inside the working folder|open $t/termost.txt --driver-dir $t/inner/dd --work $t/inner"
"a folder lumarsim did not make is kept|2|err|no working copy of lumarsim|open $t/termost.txt --driver-dir $t/dd --work $t/foreign"
"its own working copy is replaced|0|out|session ok|open $t/termost.txt --driver-dir $t/dd --work $t/w"
"a CR-only project reads its block|0|out|project: 1 blocks, 1 stored lines taken|open $t/cr.txt --driver-dir $t/dd --work $t/w"
"a CR LF project reads its block|0|out|project: 1 blocks, 1 stored lines taken|open $t/crlf.txt --driver-dir $t/dd --work $t/w"
"a block given twice names both lines|2|err|twice.txt:3: block 11/1 given twice \\(first at line 1\\)|open $t/twice.txt --driver-dir $t/dd --work $t/w"
"open: a refused line gives exit code 1|1|out|line not taken: K2_USER NOSUCH|open $t/refused.txt --driver-dir $t/dd --work $t/w"
"save: a block without its definition leaves the original|1|out|not overwritten|save $t/termost.txt --driver-dir $t/nodef --work $t/w"
"save --out writes elsewhere with the same exit code|1|out|saved 2 blocks, [0-9]+ lines to .*/elsewhere.txt|save $t/termost.txt --out $t/elsewhere.txt --driver-dir $t/nodef --work $t/w"
"save keeps the comments|0|out|saved 2 blocks|save $t/comments.txt --out $t/saved.txt --driver-dir $t/dd --work $t/w"
"netlist: a file left from an earlier run is not reported as written|1|out|!! the driver (wrote no)?|netlist $t/termost.txt --kind komun --driver-dir $t/stale --work $t/w"
"dialog: a step that cannot be played gives exit code 1|1|out|a step could not be played|dialog $src/samples/demo-project.txt AI6:1 --step \"press NoSuchButton\" --driver-dir $t/dd --work $t/w"
"run --set: a value outside the item's range is warned of|0|out|TERMOST:2.HYST = 500: warning: outside the item's range 0 .. 100|run $src/samples/demo-project.txt --order TERMOST:2.X@2 --set TERMOST:2.HYST=500 --seconds 2 --driver-dir $t/dd --work $t/w"
"run: a line that ends before StopRUN is a failure in words|1|out|the line has ended|run $src/samples/demo-project.txt --order TERMOST:2.X@2 --simulate \"DIE 3\" --seconds 2 --driver-dir $t/dd --work $t/w"
"script: a driver text is read only to its end|0|out|of 4096 bytes: the driver gave no more|script $t/over.script --driver-dir $t/dd --work $t/w"
)
for row in "${cases[@]}"; do
    IFS='|' read -r what rc where words args <<<"$row"
    eval "set -- $args"
    timeout 120 "$sim" "$@" --library "$library" >"$t/out" 2>"$t/err"
    got=$?
    if [ "$got" -eq "$rc" ] && grep -qaE -- "$words" "$t/$where"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what (exit code $got, wanted $rc; $where lacks: $words)"
        sed 's/^/    /' "$t/err" | tail -5
        grep -a '!!' "$t/out" | sed 's/^/    /' | head -5
        failures=$((failures + 1))
    fi
done

# What the rows must have left alone or written.
check "the driver directory kept every file" test "$(count "$t/dd")" -eq "$dd_files"
check "the foreign folder kept its file" grep -q mine "$t/foreign/OVLADACE/KADEX2/MINE.DEF"
check "the refused save left the original byte for byte" cmp -s "$t/termost.txt" "$t/original.txt"
check "the file written elsewhere keeps the lines the driver had none for" \
    grep -q "line K2_USER HYST = 7" "$t/elsewhere.txt"
check "the saved file keeps every comment in its place" \
    sh -c "grep -a '^#' '$t/saved.txt' | tr '\n' '|' | grep -qx '# heating|# its limits|'"
check "the working copy carries lumarsim's mark" test -f "$t/w/OVLADACE/KADEX2/LUMARSIM.COPY"

finish "lumarsim cases"
