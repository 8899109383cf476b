#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix owned by the build tree (cmake/wine-prefix.sh
# prepares it: windows unmanaged, as no window manager runs, a private Xvfb when there is no
# DISPLAY, the server kept up; scripts/wine-stop.sh ends them). A 64-bit program runs under
# wine64 in a 64-bit prefix: each build tree has its own prefix, so the two never share one.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${KESTRA_WINEPREFIX:-}" ]; then
  # ctest runs from inside the build tree; the prefix lives at the tree's root.
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || dir=$PWD
  KESTRA_WINEPREFIX=$dir/wineprefix
fi
# The program's PE header says which Wine it needs (machine 0x8664: x86_64, 0x014c: i386);
# for anything else WINEARCH does (win32 unless set).
if [ -f "$1" ] && [ "$(head -c 2 "$1")" = MZ ]; then
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  case $(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ') in
    8664) WINEARCH=win64 ;;
    014c) WINEARCH=win32 ;;
  esac
fi
export WINEARCH=${WINEARCH:-win32}
DISPLAY=$("$here/wine-prefix.sh" "$KESTRA_WINEPREFIX")
export DISPLAY WINEPREFIX=$KESTRA_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
loader=wine
[ "$WINEARCH" = win64 ] && loader=/usr/lib/wine/wine64

# The prefix's background processes inherit the program's output; give them a file, not the
# caller's pipe, so the caller sees the end of the program and not of them.
out=$(mktemp)
status=0
"$loader" "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
rm -f "$out"
exit $status
