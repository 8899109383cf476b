#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix owned by the build tree.
# The prefix is created on first use; concurrent callers wait on one lock. Its wineserver stays up
# (scripts/wine-stop.sh ends it), so the prefix's services start once and not with every program:
# where Wine runs through qemu each Wine process costs tens of seconds to start.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${KESTRA_WINEPREFIX:-}" ]; then
  # ctest runs from inside the build tree; the prefix lives at the tree's root.
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || dir=$PWD
  KESTRA_WINEPREFIX=$dir/wineprefix
fi
export WINEPREFIX=$KESTRA_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win32

"$here/../scripts/enable-i386.sh"

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
  fi
  # Neither the server nor the services it starts may keep the lock's descriptor.
  wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
) 9>"$WINEPREFIX.lock"

# The prefix's background processes inherit the program's output; give them a file, not the
# caller's pipe, so the caller sees the end of the program and not of them.
out=$(mktemp)
status=0
wine "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
rm -f "$out"
exit $status
