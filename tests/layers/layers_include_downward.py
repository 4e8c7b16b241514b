#!/usr/bin/env python3
"""Checks that the driver's folders include only downward.

Reads every #include "..." of the driver's own folders below ROOT (the
repository by default) and prints one line per include that points up the
table of layers, sideways where the services do not, into a platform
implementation from outside it and dll/, or into tools/, tests/, bench/ or
fuzz/; also any Windows header outside platform/win32/ and dll/dll_main.cpp.
Exits 1 when it printed any, 0 when every include points down.
"""

import pathlib
import re
import sys

# Lower rank = lower layer. A folder may include its own layer and every
# layer below it.
RANKS = {
    "base": 0,
    "ui": 1,
    "platform": 2,
    "service": 3,
    "values": 4,
    "library": 5,
    "instances": 6,
    "settings": 7,
    "exports": 8,
    "online": 8,
    "dialogs": 8,
    "frame": 9,
    "dll": 10,
}
# The services of one layer include each other only this way: the netlist
# export starts the communication program, the object dialogs export and
# talk to the running line.
SIDEWAYS = {("exports", "online"), ("dialogs", "exports"), ("dialogs", "online")}
# Implementations of Platform: only they themselves and the DLL (which picks
# the default platform) see them.
IMPLEMENTATIONS = ("platform/win32", "platform/headless", "platform/posix")
OUTSIDE = ("tools", "tests", "bench", "fuzz")
WINDOWS_HEADERS = {
    "windows.h", "winuser.h", "windef.h", "winbase.h", "wingdi.h", "commctrl.h",
    "commdlg.h", "shellapi.h", "shlobj.h", "objbase.h", "htmlhelp.h",
}
WINDOWS_ALLOWED = ("platform/win32/", "dll/dll_main.cpp")
SOURCES = (".h", ".hpp", ".cpp", ".c", ".inl")

QUOTED = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
ANGLED = re.compile(r"^\s*#\s*include\s*<([^>]+)>")


def implementation_of(path):
    for folder in IMPLEMENTATIONS:
        if path == folder or path.startswith(folder + "/"):
            return folder
    return None


def judge(source, included):
    """What is wrong with `source` (a path below the root) including `included`, or None."""
    layer = source.split("/", 1)[0]
    target = included.split("/", 1)[0]
    if target in OUTSIDE:
        return f"{layer} includes {target}/, which is no layer of the driver"
    if target not in RANKS:
        return f"{layer} includes {included}, which names no layer"
    implementation = implementation_of(included)
    if implementation is not None and layer != "dll" and implementation_of(source) != implementation:
        return f"{layer} includes {implementation}/, which only it and dll see"
    if layer == target or RANKS[target] < RANKS[layer] or (layer, target) in SIDEWAYS:
        return None
    if RANKS[target] == RANKS[layer]:
        return f"{layer} includes {target} sideways"
    return f"{layer} includes {target}, a higher layer"


def check(root):
    faults = []
    for layer in RANKS:
        folder = root / layer
        if not folder.is_dir():
            continue  # a layer may not exist yet
        for file in sorted(folder.rglob("*")):
            if file.suffix not in SOURCES or not file.is_file():
                continue
            source = file.relative_to(root).as_posix()
            lines = file.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, start=1):
                fault = None
                if match := QUOTED.match(line):
                    fault = judge(source, match.group(1))
                elif match := ANGLED.match(line):
                    header = match.group(1).lower()
                    if header in WINDOWS_HEADERS and not source.startswith(WINDOWS_ALLOWED):
                        fault = f"{layer} includes <{match.group(1)}> outside platform/win32"
                if fault:
                    faults.append(f"{source}:{number}: {fault}")
    return faults


def main():
    default = pathlib.Path(__file__).resolve().parent.parent.parent
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    if not any((root / layer).is_dir() for layer in RANKS):
        print(f"{root}: no folder of the driver's layers below it")
        return 2
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} includes against the layers")
        return 1
    print("every include points down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
