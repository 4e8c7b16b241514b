#!/bin/bash
# The index of a GUI run's screenshots: written from the manifest with each
# window's name, test and size; a run whose screenshots and manifest disagree
# fails, one row a case.
#   screenshot_index_test.sh SOURCE_DIR
set -u
script="$1/tests/e2e/gui/screenshot_index.cmake"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"

# png NAME WIDTH HEIGHT: a PNG file's signature and header, all the index reads.
png() {
    printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR' >"$work/$1.png"
    local n
    for n in "$2" "$3"; do
        printf "$(printf '\\x%02x' $((n >> 24)) $((n >> 16 & 255)) $((n >> 8 & 255)) $((n & 255)))"
    done >>"$work/$1.png"
    printf '\x08\x02\0\0\0' >>"$work/$1.png"
}
line() { printf '%s\t%s\t%s\t%s\n' "$@" >>"$work/manifest.tsv"; }
index() { cmake -DDIR="$work" -DSTEP=index -P "$script" >"$work/out" 2>&1; }
lists() { grep -q "<b>$1</b><br>$2<br>$3 &times; $4 px" "$work/index.html"; }
fails() { ! index; }
fresh() { cmake -DDIR="$work" -DSTEP=begin -P "$script"; }

# Screenshots, one taken twice, and an older run's file that begin removes.
png old-run 10 10
fresh
check "begin empties the folder" test ! -e "$work/old-run.png"
png analog-dialog 640 480 && line analog-dialog "lm_gui_object_dialog_tests A.B" 640 480
png string-table 300 200 && line string-table "lm_gui_object_dialog_tests A.C" 300 200
line string-table "lm_gui_object_dialog_tests A.D" 300 200
check "a complete run is indexed" index
check "with each window's name, test and size" lists analog-dialog \
    "lm_gui_object_dialog_tests A.B" 640 480
check "a name taken twice once, with its later test" \
    test "$(grep -c '<b>string-table</b>' "$work/index.html")-$(lists string-table \
    "lm_gui_object_dialog_tests A.D" 300 200 && echo later)" = "1-later"

# A run whose tests took no screenshot: an index of no windows.
fresh
check "a run without screenshots is indexed" index
check "as no windows" grep -q "<p>0 windows," "$work/index.html"

# Each fault alone fails the run: row = what is done to the complete run.
while IFS='|' read -r what fault; do
    fresh
    png analog-dialog 640 480 && line analog-dialog "t A.B" 640 480
    eval "$fault"
    check "$what fails" fails
done <<'ROWS'
screenshots without their manifest|rm "$work/manifest.tsv"
a listed screenshot without its file|rm "$work/analog-dialog.png"
a file nobody listed|png stray 5 5
a file of another size than its window|png analog-dialog 640 479
a damaged manifest line|printf 'x\ty\n' >>"$work/manifest.tsv"
ROWS
finish screenshot_index
