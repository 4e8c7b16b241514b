#!/bin/bash
# NETLIST.TXT and LMKOMUN.INI of the sample project as the driver library
# writes them for lumarsim's menu command and NetList call, byte for byte
# against the golden files of the exports' own test. The line settings are
# the ones those files were made with; the HWND line carries the driver
# window's handle and place of this run, which the golden file fixes at
# 4660 10 20 161: it must have the shape "HWND HANDLE LEFT TOP HEIGHT" with a
# handle other than 0, and is then compared as the golden one.
#   netlist_golden.sh SOURCE_DIR PATH_PREFIX LUMARSIM LIBRARY [RUNNER...]
# PATH_PREFIX is "Z:" when the simulator runs under Wine, else empty.
set -u
src="$1" prefix="$2" sim="$3" library="$4"
shift 4
. "$(dirname "$0")/export_golden_start.sh"
passed=0 failed=0
for kind in text komun; do
    file=NETLIST.TXT
    [ "$kind" = komun ] && file=LMKOMUN.INI
    rm -rf "$work/w"
    "$@" "$sim" netlist "$prefix$src/samples/demo-project.txt" --kind "$kind" --crc 305419896 \
        --library "$prefix$library" --driver-dir "$prefix$work/dd" --work "$prefix$work/w" \
        >"$work/out" 2>"$work/err"
    rc=$?
    written="$work/w/OVLADACE/KADEX2/$file"
    cp "$written" "$work/$file" 2>/dev/null || : >"$work/$file"
    ok=1
    if [ "$kind" = komun ]; then
        hwnd=$(grep -a '^HWND ' "$work/$file")
        if ! printf '%s\n' "$hwnd" | grep -aqE '^HWND [1-9][0-9]* -?[0-9]+ -?[0-9]+ [0-9]+'$'\r''$'; then
            echo "$file: the HWND line is not a window's handle and place: '$hwnd'"
            ok=0
        fi
        golden_hwnd=$(grep -a '^HWND ' "$src/tests/golden/$file")
        sed -i "s/^HWND .*/$golden_hwnd/" "$work/$file"
    fi
    if [ $rc -ne 0 ] || ! cmp -s "$work/$file" "$src/tests/golden/$file"; then
        echo "$file (--kind $kind) differs from the golden one (exit code $rc):"
        cat "$work/err"
        diff <(tr -d '\r' <"$src/tests/golden/$file") <(tr -d '\r' <"$work/$file")
        ok=0
    fi
    if [ $ok -eq 1 ]; then
        echo "ok: $file"
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "netlist golden: $passed passed, $failed failed"
exit $((failed > 0))
