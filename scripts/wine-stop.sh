#!/usr/bin/env bash
# Ends the Wine prefixes of a build tree (the test program's and the end-to-end tests'): their
# wineservers with the programs they keep, then the private Xvfb each was given
# (cmake/wine-display.sh).
set -u
tree=${1:-build/win32}
[ -d "$tree" ] || exit 0
for prefix in "$tree/wineprefix" "$tree/tests/e2e/wineprefix"; do
  [ -d "$prefix" ] || continue
  prefix=$(cd "$prefix" && pwd)
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  if [ -f "$prefix.display" ]; then
    read -r n pid <"$prefix.display"
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb -displayfd" && kill "$pid"
    rm -f "$prefix.display"
  fi
done
exit 0
