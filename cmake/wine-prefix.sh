#!/usr/bin/env bash
# wine-prefix.sh PREFIX: makes the Wine prefix ready for programs and prints the X display they
# are to use. Created on first use; concurrent callers wait on one lock. Its wineserver stays up
# (where Wine runs through qemu each Wine process costs tens of seconds to start, and the
# prefix's services then start once, not with every program).
# WINEARCH (win32 unless set) picks the prefix's kind: win64 is run by wine64, natively.
# wine-prefix.sh --stop PREFIX: ends the prefix's server, its programs and its private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=${WINEARCH:-win32}
loader=wine
[ "$WINEARCH" = win64 ] && loader=/usr/lib/wine/wine64

if [ "${1:-}" = --stop ]; then
  [ -d "$2" ] || exit 0
  prefix=$(cd "$2" && pwd)  # Wine takes absolute prefixes only
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  # The server is known by the folder's inode, which a prefix made next may get again: it must be
  # gone, not going, before the folder is.
  WINEPREFIX=$prefix timeout 30 wineserver -w 2>/dev/null || true
  if [ -f "$prefix.display" ]; then
    read -r _ pid <"$prefix.display" || true
    if tr '\0' ' ' <"/proc/${pid:-0}/cmdline" 2>/dev/null | grep -q "^Xvfb -displayfd"; then
      kill "$pid"
      # Gone, not going: the next Xvfb takes the same display number once this one's lock is off.
      # (A zombie counts as gone: whoever adopted it may be slow to reap it.)
      for _ in $(seq 100); do
        state=$(sed -n 's/^[0-9]* (.*) \(.\).*/\1/p' "/proc/$pid/stat" 2>/dev/null)
        [ -z "$state" ] || [ "$state" = Z ] && break
        sleep 0.1
      done
    fi
    rm -f "$prefix.display"
  fi
  exit 0
fi

mkdir -p "$(dirname "$1")"
WINEPREFIX=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")  # Wine takes absolute prefixes only
export WINEPREFIX
"$here/../scripts/enable-i386.sh"
if [ -f "$WINEPREFIX/system.reg" ] && ! grep -q "^#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
  echo "wine-prefix: $WINEPREFIX is not a $WINEARCH prefix" >&2
  exit 1
fi
(
  flock 9
  # The display first: the prefix's first programs (desktop, tray) stay on the one they start on.
  display=$("$here/wine-display.sh" "$WINEPREFIX" 9>&-)
  export DISPLAY=$display
  # Without a window manager Wine's managed windows make every window's end wait 2 s and never
  # get the keyboard focus; unmanaged ones sit at their Win32 rectangles and take typed keys.
  # The first Wine program of a new prefix creates it.
  if [ ! -f "$WINEPREFIX/.kestra-unmanaged" ]; then
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&- &&
      touch "$WINEPREFIX/.kestra-unmanaged"
  fi
  # Neither the server nor the services it starts may keep the lock's descriptor.
  wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
  echo "$display"
) 9>"$WINEPREFIX.lock"
