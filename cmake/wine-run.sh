#!/bin/bash
# Runs one Windows executable of the build under Wine with the project's quiet
# prefix (created by `./lm setup`); ctest's cross-compiling emulator.
# LM_WINE_PREFIX chooses another prefix of the same architecture (the GUI
# tests' own); LM_WINE_DLL_OVERRIDES adds DLL overrides (e.g. "notepad.exe=d":
# no Notepad started by the program under test).
#   wine-run.sh win32|win64 PROGRAM ARGS...
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch="$1"
shift
if [ "$arch" = win64 ]; then
    export WINEPREFIX="${LM_WINE_PREFIX:-$here/build/wine-prefix-64}" WINEARCH=win64
    wine=/usr/lib/wine/wine64
else
    export WINEPREFIX="${LM_WINE_PREFIX:-$here/build/wine-prefix-32}" WINEARCH=win32
    wine=wine
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${LM_WINE_DLL_OVERRIDES:+;$LM_WINE_DLL_OVERRIDES}"
exec timeout "${LM_WINE_TIMEOUT:-300}" "$wine" "$@"
