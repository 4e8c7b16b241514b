# The start the export goldens share (cw_golden.sh, netlist_golden.sh),
# sourced once they have read SOURCE_DIR into $src: a work folder removed at
# the end, Notepad kept from opening under Wine, and a copy of the sample
# driver directory with the line settings the golden files were made with.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The driver asks the shell to open the listing in Notepad: not under Wine here.
export LM_WINE_DLL_OVERRIDES="notepad.exe=d"
mkdir -p "$work/dd"
cp -r "$src"/driverdir/* "$work/dd/"
# COM2 at 38400 Bd, addresses 5 and 7, RS485, time-out 10 s.
printf '2\r\n38400\r\n5\r\n7\r\n1\r\n10.0\r\n0\r\n192.168.1.10\r\n1998\r\n' >"$work/dd/SETCOM.INI"
