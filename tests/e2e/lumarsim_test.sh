#!/bin/bash
# lumarsim end to end against liblmdriver.so: a project saved and reopened
# keeps its stored lines byte for byte; a bad project file is refused with its
# line number; the help texts answer.
#   lumarsim_test.sh LUMARSIM LIBRARY SOURCE_DIR
set -u
sim="$1" library="$2" src="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
run() { "$sim" "$@" --library "$library" --driver-dir "$src/driverdir" --work "$work/w" >"$work/out" 2>"$work/err"; }

check "the sample project saves" run save "$src/samples/demo-project.txt" --out "$work/one.txt"
check "the saved project saves again" run save "$work/one.txt" --out "$work/two.txt"
check "the stored lines are kept byte for byte" cmp -s "$work/one.txt" "$work/two.txt"
check "the sample's own lines come back unchanged" \
    cmp -s <(grep -a '^line\|^block' "$src/samples/demo-project.txt") <(grep -a '^line\|^block' "$work/one.txt")

printf 'block 11 1\nblok 60 1\n' >"$work/bad.txt"
run open "$work/bad.txt"
check "a bad project fails with exit code 2" test $? -eq 2
check "the message names the file and line" grep -q "bad.txt:2: unknown keyword 'blok'" "$work/err"
run open "$work/missing.txt"
check "a missing project fails with exit code 2" test $? -eq 2
check "and says so" grep -q "cannot read the project" "$work/err"
printf 'block 9999 1\n' >"$work/unknown.txt"
run open "$work/unknown.txt"
check "an unknown block fails with exit code 1" test $? -eq 1
check "and names the block's line" grep -q "project line 1): the driver has no object 9999" "$work/out"

run settings
check "settings reads the sample's SETCOM.INI" grep -q "RS232, COM1, 38400Bd, adr=1, tout=1.5s" "$work/out"
check "and its four profiles" grep -q "profiles (.*profiles.ini): 4, selected 0" "$work/out"
mkdir -p "$work/nosetcom"
"$sim" settings --driver-dir "$work/nosetcom" >"$work/out" 2>"$work/err"
check "settings without SETCOM.INI fails with exit code 1" test $? -eq 1
check "and shows the driver's defaults" grep -q "RS232, COM1, 9600Bd, adr=1, tout=1.5s" "$work/out"
# The values the driver uses after its repairs, each repair marked.
mkdir -p "$work/repaired"
printf '1\r\n38400\r\n1\r\n1\r\n2\r\n-1\r\n1\r\n10.0.0.1\r\n70000\r\n' >"$work/repaired/SETCOM.INI"
printf '[main]\r\ncount=1\r\n[profile000]\r\nComPort=16\r\nTimeOut=1e300\r\n' >"$work/repaired/profiles.ini"
"$sim" settings --driver-dir "$work/repaired" >"$work/out" 2>"$work/err"
while IFS='|' read -r what text; do
    check "settings: $what" grep -qF -- "$text" "$work/out"
done <<'ROWS'
the values used|TCP 10.0.0.1:1998, adr=1, tout=1.5s
a time-out of -1|repaired: SETCOM.INI: line 6 (TimeOut) -1 is below 0.05, used 1.5
a flag of 2|repaired: SETCOM.INI: line 5 (RS485) 2 is neither 0 nor 1, used 0 (off)
a port beyond 16 bits|repaired: SETCOM.INI: line 9 (TCPPort) 70000 is not 0 to 65535, used 1998
a profile's port|repaired: profiles.ini: [profile000] ComPort=16 is not offered by the settings dialog, shown as COM1
a profile's time-out|repaired: profiles.ini: [profile000] TimeOut=1e300 read as 10
the profile as shown|profile000: RS232, COM1, 38400Bd, adr=1, tout=10.0s
ROWS

demo="$src/samples/demo-project.txt"
run dialog "$demo" AI6:1 --step "select ComboBox1 8" --step "set FloatEdit7 -20" \
    --step "key FloatEdit7 down" --step "press OKBtn"
check "dialog: the analog block's dialog closes with OK" test $? -eq 0
check "and the module and the typed range reach the block; the arrow key steps nothing" \
    grep -q "MAX0=      20.00, MIN0=       4.00.*MIN2=     -20.00.*LINEARISATION=H00000" "$work/out"
check "and the project is changed" grep -q "project changed" "$work/out"
run dialog "$demo" TEXTY:1 --step "cell StringGrid1 1 2 Jiny text" --step "press CancelBtn"
check "dialog: the string table cancelled leaves the texts" grep -q 'TEXT2=Vysok' "$work/out"
check "and the project unchanged" grep -q "project unchanged" "$work/out"
run dialog "$demo" AI6:9
check "dialog: a block the project lacks fails" test $? -eq 1
cat >"$work/dialog.script" <<'SCRIPT'
call identify wparam1=3 lparam1=34 -> result
call load -> result
call init -> result error
call create wparam1=11 wparam2=1 -> result
form
step select ComboBox2 7
step key FloatEdit1 up
step press OKBtn
call dialog wparam1=11 wparam2=1 -> result error
call flagchangedat -> wparam1
SCRIPT
run script "$work/dialog.script"
check "script: the dialog steps play the analog dialog" grep -q 'closed by its steps' "$work/out"
check "script: and the driver reports the change" grep -q 'call flagchangedat wparam1=1' "$work/out"

check "--help answers" "$sim" --help
for command in open save tour settings dialog; do
    check "help $command" "$sim" help "$command"
done
"$sim" open --bogus >/dev/null 2>"$work/err"
check "an unknown option is refused" grep -q "unknown option --bogus" "$work/err"

finish lumarsim
