#!/usr/bin/env python3
"""Writes the driver package: the zip an engineer unpacks to install the driver.

    make_package.py --out ZIP --version N.NN --date YYYY-MM-DD --driver-dir DIR
                    --dll LMDRIVER.DLL --lmcheck lmcheck.exe --lumarsim lumarsim.exe
                    --guides DIR

The zip holds
    OVLADACE/KADEX2/   LMDRIVER.DLL and every file of the sample driver directory
    tools/             lmcheck.exe and lumarsim.exe
    INSTALACE.TXT      the install guide in Czech (CP1250, CRLF)
    INSTALL.TXT        the same in English (CRLF)
    SHA256SUMS         the SHA-256 of every other file, as sha256sum -c reads it

The same inputs give the same bytes: the entries are sorted, every entry has
the same time (the version's date) and attributes, and nothing of the machine
or the folder it was made in goes in. The communication program's stand-in
ROZID7.EXE never goes in: the driver would start it instead of the real one.
"""

import argparse
import datetime
import hashlib
import io
import os
import sys
import zipfile

DRIVER_FOLDER = "OVLADACE/KADEX2/"
REFUSED = {"ROZID7.EXE"}
# The guides are written in UTF-8 in the source tree; they ship in the code
# page of a Czech Windows, with Windows line ends, for Notepad.
GUIDES = (("INSTALACE.txt", "INSTALACE.TXT", "cp1250"), ("INSTALL.txt", "INSTALL.TXT", "ascii"))


def fail(message):
    sys.exit(f"make_package: {message}")


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        fail(f"cannot read {path}: {e.strerror}")


def guide(path, encoding, version):
    text = read(path).decode("utf-8").replace("@VERSION@", version)
    try:
        body = text.replace("\r\n", "\n").encode(encoding)
    except UnicodeEncodeError as e:
        fail(f"{path}: a character {encoding} cannot hold: {e.object[e.start:e.end]!r}")
    return body.replace(b"\n", b"\r\n")


def driver_files(folder):
    entries = {}
    try:
        names = sorted(os.listdir(folder))
    except OSError as e:
        fail(f"cannot list {folder}: {e.strerror}")
    for name in names:
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            fail(f"{path} is not a file: the driver folder holds files only")
        if name.upper() in REFUSED:
            fail(f"{path}: the stand-in {name} must not ship; package the sample driver directory")
        entries[DRIVER_FOLDER + name] = read(path)
    return entries


def contents(args):
    entries = driver_files(args.driver_dir)
    for name, path in (
        (DRIVER_FOLDER + "LMDRIVER.DLL", args.dll),
        ("tools/lmcheck.exe", args.lmcheck),
        ("tools/lumarsim.exe", args.lumarsim),
    ):
        if name in entries:
            fail(f"{name} is both in {args.driver_dir} and given as a built file")
        entries[name] = read(path)
    for source, name, encoding in GUIDES:
        entries[name] = guide(os.path.join(args.guides, source), encoding, args.version)
    sums = "".join(
        f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in sorted(entries.items())
    )
    entries["SHA256SUMS"] = sums.encode("ascii")
    return entries


def write_zip(entries, when):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on MS-DOS/Windows: attributes are DOS attributes
            info.external_attr = 0x20  # archive
            archive.writestr(info, entries[name], compresslevel=9)
    return buffer.getvalue()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("out", "version", "date", "driver-dir", "dll", "lmcheck", "lumarsim", "guides"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    try:
        day = datetime.date.fromisoformat(args.date)
    except ValueError:
        fail(f"--date {args.date} is not YYYY-MM-DD")
    if day.year < 1980:
        fail("a zip holds no time before 1980")
    data = write_zip(contents(args), (day.year, day.month, day.day, 0, 0, 0))
    # Written beside and renamed: a failed run leaves no half zip under the name.
    partial = args.out + ".partial"
    try:
        with open(partial, "wb") as f:
            f.write(data)
        os.replace(partial, args.out)
    except OSError as e:
        fail(f"cannot write {args.out}: {e.strerror}")
    print(f"{args.out}: {len(data)} bytes, sha256 {hashlib.sha256(data).hexdigest()}")


if __name__ == "__main__":
    main()
