#!/bin/bash
# The settings dialog played by a lumarsim script: a profile added, saved and
# selected from menu item 3004, steps that leave the dialog open, an about
# dialog without steps, a step that cannot be played. Natively the headless
# driver plays the steps; under Wine lumarsim.exe drives LMDRIVER.DLL's windows.
#   settings_script.sh SOURCE_DIR PATH_PREFIX LUMARSIM LIBRARY [RUNNER...]
# PATH_PREFIX is "Z:" when the simulator runs under Wine, else empty.
set -u
src="$1" prefix="$2" sim="$3" library="$4"
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
script() {  # script FILE
    "${runner[@]}" "$sim" script "$prefix$1" --library "$prefix$library" \
        --driver-dir "$prefix$src/driverdir" --work "$prefix$work/w" >"$work/out" 2>"$work/err"
}
runner=("$@")
dd="$work/w/OVLADACE/KADEX2"

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
script "$work/settings.script"
check "the script runs" test $? -eq 0
tr -d '\r' <"$work/out" >"$work/out.lf"
check "the dialog closed by Select" grep -q 'form "Nastavení komunikace" closed by its steps' "$work/out.lf"
check "steps that leave it open dismiss it" grep -q 'form "Nastavení komunikace" dismissed' "$work/out.lf"
check "an about dialog without steps is dismissed" grep -q 'form "O ovladači pro LUMAR" dismissed' "$work/out.lf"
check "SETCOM.INI holds the chosen settings" \
    cmp -s "$dd/SETCOM.INI" <(printf '2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n')
check "profiles.ini holds the new profile, selected" grep -q "position=4" "$dd/profiles.ini"
check "under its CP1250 name" \
    grep -q "$(printf 'Name=\xC8erpac\xED stanice \x8E\xEF\xE1r')" "$dd/profiles.ini"

printf 'call identify wparam1=3 lparam1=34\ncall load\nform\nstep press Nic\ncall menuitem wparam1=3004 -> result\ncall unload\n' \
    >"$work/bad.script"
script "$work/bad.script"
tr -d '\r' <"$work/out" >"$work/out.lf"
check "a step that cannot be played is reported" \
    grep -q 'form "Nastavení komunikace" dismissed; press Nic: no control "Nic"' "$work/out.lf"
printf 'step press OK\n' >"$work/bad.script"
script "$work/bad.script"
check "a step before any form is refused" grep -q "line 1: a step before any form" "$work/err"

if [ $failures -gt 0 ]; then
    echo "--- last output"; cat "$work/out" "$work/err"
fi
finish "settings script"
