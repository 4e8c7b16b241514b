#!/bin/bash
# The Control Web files of the sample project as the driver library writes
# them for lumarsim's menu command 3010, NetList and the dialog played by its
# steps, byte for byte against tests/golden/KADEX.*: first in overwrite mode,
# then in append mode over the golden files themselves (KADEX_APPEND.*). The
# selection covers every type and direction the sample's objects offer. The
# CW and CP texts name the driver directory of this run in their 'panel.gif'
# line: it must be the run's OVLADACE\KADEX2 and is then compared as the
# golden one.
#   cw_golden.sh SOURCE_DIR PATH_PREFIX LUMARSIM LIBRARY [RUNNER...]
# PATH_PREFIX is "Z:" when the simulator runs under Wine, else empty.
# LM_CW_GOLDEN_OUT=DIR keeps the files written, to renew the golden ones.
set -u
src="$1" prefix="$2" sim="$3" library="$4"
shift 4
. "$(dirname "$0")/export_golden_start.sh"
selection=()
for item in AI6:1.AI0 AI6:1.PORUCHA TEXTY:1.VYBER TEXTY:1.TEXT1 TEXTY:1.TEXT2 PID:1.W PID:1.MAN \
    PID:1.KP TERMOST:2.X TERMOST:2.Q TERMOST:2.HYST PROJEKT:1.CRC32 PROJEKT:1.VERZE \
    KAVLIN:1.STAV CTU:1.PV RAMPA:1.IN RAMPA:1.OUT RAMPA:1.STRMOST; do
    selection+=(--select "$item")
done
passed=0 failed=0
for mode in overwrite append; do
    rm -rf "$work/w"
    mkdir -p "$work/w"
    suffix="" extra=()
    if [ "$mode" = append ]; then
        for ext in PAR DMF CW CP; do cp "$src/tests/golden/KADEX.$ext" "$work/w/"; done
        suffix=_APPEND extra=(--append)
    fi
    "$@" "$sim" netlist "$prefix$src/samples/demo-project.txt" --kind cw --crc 305419896 \
        --first-channel 100 "${selection[@]}" "${extra[@]}" --quiet \
        --library "$prefix$library" --driver-dir "$prefix$work/dd" --work "$prefix$work/w" \
        >"$work/out" 2>"$work/err"
    rc=$?
    for ext in PAR DMF CW CP; do
        file="$work/w/KADEX.$ext"
        golden="$src/tests/golden/KADEX$suffix.$ext"
        [ -f "$file" ] || : >"$file"
        ok=1
        if [ "$ext" = CW ] || [ "$ext" = CP ]; then
            # Only the head written in overwrite mode names the driver directory.
            if [ "$mode" = overwrite ] && [ "$ext" = CW ]; then
                panel=$(grep -a "^  'panel.gif' = " "$file")
                if ! printf '%s\n' "$panel" | grep -aqE "OVLADACE[/\\\\]KADEX2[/\\\\]\\.';"$'\r''$'; then
                    echo "KADEX.$ext: the panel.gif line is not the run's driver directory: '$panel'"
                    ok=0
                fi
            fi
            golden_panel=$(grep -a "^  'panel.gif' = " "$golden" | head -1)
            [ -n "$golden_panel" ] && [ "$mode" = overwrite ] &&
                sed -i "s|^  'panel.gif' = .*|${golden_panel//\\/\\\\}|" "$file"
        fi
        [ -n "${LM_CW_GOLDEN_OUT:-}" ] && mkdir -p "$LM_CW_GOLDEN_OUT" &&
            cp "$file" "$LM_CW_GOLDEN_OUT/KADEX$suffix.$ext"
        if [ $rc -ne 0 ] || ! cmp -s "$file" "$golden"; then
            echo "KADEX.$ext ($mode) differs from $(basename "$golden") (exit code $rc):"
            cat "$work/err"
            diff <(tr -d '\r' <"$golden") <(tr -d '\r' <"$file") | head -20
            ok=0
        fi
        if [ $ok -eq 1 ]; then
            echo "ok: KADEX.$ext ($mode)"
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
        fi
    done
done
echo "cw golden: $passed passed, $failed failed"
exit $((failed > 0))
