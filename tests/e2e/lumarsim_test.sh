#!/bin/bash
# lumarsim end to end against liblmdriver.so: a project saved and reopened
# keeps its stored lines byte for byte; a bad project file is refused with its
# line number; the help texts answer.
#   lumarsim_test.sh LUMARSIM LIBRARY SOURCE_DIR
set -u
sim="$1" library="$2" src="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
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

# The settings dialog played from a script: a profile added, saved and selected.
cat >"$work/settings.script" <<'SCRIPT'
call identify wparam1=3 lparam1=34 -> result
call load -> result
form
step press Button3
step set Edit1 "Čerpací stanice Žďár"
step press RadioButtonRS485
step select ComboBoxPort 1
step select ComboBoxSpeed 4
step set EditAddress 5
step set EditTOut 2.5
step press ButtonSave
step press ButtonOK
call menuitem wparam1=3004 -> result
form
step press Button1
step set EditAddress 0
step press ButtonSave
call menuitem wparam1=3004 -> result
call menuitem wparam1=3008 -> result
call unload -> result
SCRIPT
run script "$work/settings.script"
check "the script runs" test $? -eq 0
check "the dialog closed by Select" grep -q 'form "Nastavení komunikace" closed by its steps' "$work/out"
check "steps that leave it open dismiss it" grep -q 'form "Nastavení komunikace" dismissed' "$work/out"
check "an about dialog without steps is dismissed" grep -q 'form "O ovladači pro LUMAR" dismissed' "$work/out"
check "SETCOM.INI holds the chosen settings"     cmp -s "$work/w/OVLADACE/KADEX2/SETCOM.INI" <(printf '2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n')
check "profiles.ini holds the new profile, selected"     grep -q "position=4" "$work/w/OVLADACE/KADEX2/profiles.ini"
check "under its CP1250 name"     grep -q "$(printf 'Name=\xC8erpac\xED stanice \x8E\xEF\xE1r')" "$work/w/OVLADACE/KADEX2/profiles.ini"
printf 'call identify wparam1=3 lparam1=34\ncall load\nform\nstep press Nic\ncall menuitem wparam1=3004 -> result\n' >"$work/bad.script"
run script "$work/bad.script"
check "a step that cannot be played is reported" grep -q 'dismissed; press Nic: no control "Nic"' "$work/out"
printf 'step press OK\n' >"$work/bad.script"
run script "$work/bad.script"
check "a step before any form is refused" grep -q "line 1: a step before any form" "$work/err"

check "--help answers" "$sim" --help
for command in open save tour settings; do
    check "help $command" "$sim" help "$command"
done
"$sim" open --bogus >/dev/null 2>"$work/err"
check "an unknown option is refused" grep -q "unknown option --bogus" "$work/err"

passed=$(( 30 - failures ))
echo "lumarsim: $passed passed, $failures failed"
exit $(( failures > 0 ))
