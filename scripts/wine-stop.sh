#!/usr/bin/env bash
# Ends the Wine prefix of a build tree (its wineserver and background processes).
set -u
tree=${1:-build/win32}
[ -d "$tree/wineprefix" ] || exit 0
WINEPREFIX=$(cd "$tree" && pwd)/wineprefix wineserver -k 2>/dev/null
exit 0
