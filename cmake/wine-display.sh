#!/usr/bin/env bash
# wine-display.sh PREFIX: prints the X display the prefix's programs use. Wine's windows need
# one; with no DISPLAY set, the prefix gets a private Xvfb, started on first use and kept up as
# long as the prefix's wineserver (scripts/wine-stop.sh ends both). The prefix's background
# programs (the desktop, the tray) stay bound to the display they started on, so a server that
# outlived its Xvfb is ended with it. Call under the prefix's lock.
set -euo pipefail
prefix=$1
if [ -n "${DISPLAY:-}" ]; then
  echo "$DISPLAY"
  exit 0
fi

# The record holds the display number and the Xvfb's process id.
record=$prefix.display
if [ -f "$record" ]; then
  read -r n pid <"$record" || true
  if [ -n "${pid:-}" ] && [ -S "/tmp/.X11-unix/X$n" ] &&
     tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb -displayfd"; then
    echo ":$n"
    exit 0
  fi
  rm -f "$record"
fi
# A server started on another display (or none) keeps its desktop there.
[ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true

# Xvfb picks a free display and writes its number when it accepts clients. A background job of
# a script is no process group leader, so setsid runs Xvfb itself and $! is its id. A display
# that then takes no client is no use to Wine (its programs would start with no window at all):
# it is ended and another started.
for attempt in 1 2 3; do
  out=$(mktemp)
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -br 3>"$out" </dev/null >/dev/null 2>&1 9>&- &
  pid=$!
  for _ in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.1
  done
  n=$(tr -dc '0-9' <"$out")
  rm -f "$out"
  if [ -n "$n" ]; then
    for _ in $(seq 50); do
      if DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
        echo "$n $pid" >"$record"
        echo ":$n"
        exit 0
      fi
      sleep 0.1
    done
  fi
  echo "wine-display: Xvfb ${n:+on :$n }took no client (try $attempt of 3)" >&2
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
done
echo "wine-display: Xvfb did not start" >&2
exit 1
