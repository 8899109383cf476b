#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix owned by the build tree.
# The prefix is created on first use (windows unmanaged, as no window manager runs), with a
# private Xvfb when there is no DISPLAY (cmake/wine-display.sh); concurrent callers wait on one lock. Its wineserver stays up
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
DISPLAY=$( (
  flock 9
  # The display first: the prefix's first programs (desktop, tray) stay on the one they start on.
  display=$("$here/wine-display.sh" "$WINEPREFIX" 9>&-)
  export DISPLAY=$display
  # Without a window manager Wine's managed windows make every window's end wait 2 s and never
  # get the keyboard focus; unmanaged ones sit at their Win32 rectangles and take typed keys.
  # The first Wine program of a new prefix creates it.
  if [ ! -f "$WINEPREFIX/.kestra-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&- &&
      touch "$WINEPREFIX/.kestra-unmanaged"
  fi
  # Neither the server nor the services it starts may keep the lock's descriptor.
  wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
  echo "$display"
) 9>"$WINEPREFIX.lock" )
export DISPLAY

# The prefix's background processes inherit the program's output; give them a file, not the
# caller's pipe, so the caller sees the end of the program and not of them.
out=$(mktemp)
status=0
wine "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
rm -f "$out"
exit $status
