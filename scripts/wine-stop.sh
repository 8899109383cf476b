#!/usr/bin/env bash
# Ends the Wine prefixes of a build tree (the test program's and the end-to-end tests'): their
# wineservers with the programs they keep, and the private Xvfb each was given.
set -u
tree=${1:-build/win32}
here=$(cd "$(dirname "$0")" && pwd)
for prefix in "$tree/wineprefix" "$tree/tests/e2e/wineprefix"; do
  "$here/../cmake/wine-prefix.sh" --stop "$prefix"
done
exit 0
