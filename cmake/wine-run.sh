#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix owned by the build tree.
# The prefix is created on first use; concurrent callers wait on one lock.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
prefix=${KESTRA_WINEPREFIX:-$PWD/wineprefix}
# ctest runs from the build tree; find the tree's root by its cache file.
if [ -z "${KESTRA_WINEPREFIX:-}" ]; then
  dir=$PWD
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] && prefix=$dir/wineprefix
fi
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win32

"$here/../scripts/enable-i386.sh"

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
  fi
) 9>"$WINEPREFIX.lock"

# The prefix's background processes (explorer, services) would otherwise outlive the program and
# keep the caller's pipes open; end them with it.
status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
