#!/bin/bash
# The driver package as an engineer gets it: its file list, its checksums, the
# same bytes from a second packaging made in another folder, the stand-in
# ROZID7.EXE refused; with --run, unpacked into a fresh folder, lmcheck.exe
# passes the driver folder and lumarsim.exe plays the demo project against the
# unpacked LMDRIVER.DLL.
#   package_test.sh SOURCE_DIR ZIP PYTHON PACKAGER INPUTS... [--run RUNNER...]
# INPUTS are the packager's options that made ZIP, less --out.
set -u
src="$1" zip="$2" python="$3" packager="$4"
shift 4
inputs=()
while [ $# -gt 0 ] && [ "$1" != --run ]; do inputs+=("$1"); shift; done
runner=()
if [ "${1:-}" = --run ]; then shift; runner=("$@"); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/check.sh"
zipinfo() { "$python" -c "import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
$1" "$zip"; }
unpacked="$work/unpacked"
driver="$unpacked/OVLADACE/KADEX2"
"$python" -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$zip" "$unpacked" || { echo "FAILED: cannot unpack $zip"; exit 1; }

if [ ${#runner[@]} -eq 0 ]; then
    zipinfo 'print("\n".join(archive.namelist()))' >"$work/listing"
    check "the zip holds the files of the listing, in its order" \
        diff "$src/tests/golden/package-listing.txt" "$work/listing"
    check "no ROZID7.EXE in any spelling" \
        test -z "$(find "$unpacked" -iname rozid7.exe)"
    check "every entry has one and the same time, not the packaging's" zipinfo '
import datetime
times = {info.date_time for info in archive.infolist()}
assert len(times) == 1 and datetime.datetime(*times.pop()).date() != datetime.date.today(), times'
    check "SHA256SUMS names every other file and each checksum holds" \
        sh -c 'cd "$1" && test "$(wc -l <SHA256SUMS)" -eq "$(($(find . -type f | wc -l) - 1))" &&
               sha256sum --quiet -c SHA256SUMS' sh "$unpacked"
    check "the driver folder is the sample driver directory and LMDRIVER.DLL" \
        diff -r -x LMDRIVER.DLL "$src/driverdir" "$driver"
    check "the guides: Czech in CP1250 and English, Windows line ends, the version filled in" \
        "$python" -c '
import sys
for name, encoding, word in (("INSTALACE.TXT", "cp1250", "Instalace"), ("INSTALL.TXT", "ascii", "Installing")):
    data = open(sys.argv[1] + "/" + name, "rb").read()
    text = data.decode(encoding)
    assert data.count(b"\n") == data.count(b"\r\n") > 10, name
    assert word in text and "verze 4.05" in text and "@" not in text, name' "$unpacked"

    (cd "$work" && "$python" "$packager" --out "$work/again.zip" "${inputs[@]}") >/dev/null
    check "a second packaging from another folder gives the same bytes" cmp "$zip" "$work/again.zip"
    echo "sha256: $(sha256sum <"$zip" | cut -d' ' -f1) $(sha256sum <"$work/again.zip" | cut -d' ' -f1)"

    cp -r "$src/driverdir" "$work/with-stand-in"
    : >"$work/with-stand-in/Rozid7.exe"
    "$python" "$packager" "${inputs[@]}" --driver-dir "$work/with-stand-in" \
        --out "$work/refused.zip" 2>"$work/err"
    check "a driver folder with the stand-in is refused" test $? -ne 0
    check "saying why, and writing no zip" \
        sh -c 'grep -q "must not ship" "$1" && ! test -e "$2"' sh "$work/err" "$work/refused.zip"
else
    "${runner[@]}" "$unpacked/tools/lmcheck.exe" "Z:$driver" >"$work/raw" 2>&1
    check "lmcheck.exe passes the unpacked driver folder" test $? -eq 0
    tr -d '\r' <"$work/raw" >"$work/out"
    check "with no finding" grep -q ': 33 objects in 5 tools; 0 errors, 0 warnings$' "$work/out"

    (cd "$unpacked/tools" && "${runner[@]}" "$unpacked/tools/lumarsim.exe" save \
        "Z:$src/samples/demo-project.txt" --out "Z:$work/saved.txt" \
        --library "Z:$driver/LMDRIVER.DLL" --driver-dir "Z:$driver" --work "Z:$work/w") \
        >"$work/out" 2>&1
    check "lumarsim.exe plays the demo project against the unpacked LMDRIVER.DLL" test $? -eq 0
    check "and saves its lines as the project holds them" \
        cmp -s <(grep -a '^line\|^block' "$src/samples/demo-project.txt") \
        <(grep -a '^line\|^block' "$work/saved.txt")
    check "leaving the unpacked folder as it was" \
        sh -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' sh "$unpacked"
fi
[ "$failures" -eq 0 ] || cat "$work/out" 2>/dev/null
finish package
