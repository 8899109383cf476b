#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix owned by the build tree (cmake/wine-prefix.sh
# prepares it: windows unmanaged, as no window manager runs, a private Xvfb when there is no
# DISPLAY, the server kept up; scripts/wine-stop.sh ends them).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${KESTRA_WINEPREFIX:-}" ]; then
  # ctest runs from inside the build tree; the prefix lives at the tree's root.
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || dir=$PWD
  KESTRA_WINEPREFIX=$dir/wineprefix
fi
DISPLAY=$("$here/wine-prefix.sh" "$KESTRA_WINEPREFIX")
export DISPLAY WINEPREFIX=$KESTRA_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win32

# The prefix's background processes inherit the program's output; give them a file, not the
# caller's pipe, so the caller sees the end of the program and not of them.
out=$(mktemp)
status=0
wine "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
rm -f "$out"
exit $status
