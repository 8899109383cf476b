#!/usr/bin/env bash
# Starts the demo: TEV_Kestra_sim.exe, the program with a simulated mouse, under Wine.
# Installs what is needed (Debian packages), builds the win32 tree's program folder
# build/win32/program_sim and runs it in a Wine prefix of its own (build/win32/demo-wineprefix).
# - With a display (DISPLAY set): the program's window opens there; the script ends with it.
# - Without one: the program runs on a private Xvfb; the script takes a screenshot of each page
#   (clicking the page tabs where the layout file puts them), ends the program and prints where
#   the screenshots are (build/win32/demo-screenshots).
# KESTRA_CONTROL_PORT, when set, opens the demo's control channel on that port (see README).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target TEV_Kestra_sim_folder
folder=$root/build/win32/program_sim
prefix=$root/build/win32/demo-wineprefix
if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
  echo "note: this kernel runs no 32-bit code; Wine runs through qemu-i386, which starts each Wine" \
       "process slowly and can end a program whose threads run side by side"
fi
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -n "${DISPLAY:-}" ]; then
  echo "preparing the Wine prefix (the first time takes a while)"
  cmake/wine-prefix.sh "$prefix" >/dev/null
  echo "starting $folder/TEV_Kestra_sim.exe"
  cd "$folder"
  exec wine ./TEV_Kestra_sim.exe
fi

echo "no display: the demo runs on a private Xvfb (the first start of the prefix takes a while)"
DISPLAY=$(cmake/wine-prefix.sh "$prefix")
export DISPLAY
trap 'cmake/wine-prefix.sh --stop "$prefix"' EXIT
shots=$root/build/win32/demo-screenshots
rm -rf "$shots"
mkdir -p "$shots"
port=${KESTRA_CONTROL_PORT:-47123}
(cd "$folder" && KESTRA_CONTROL_PORT=$port exec wine ./TEV_Kestra_sim.exe) >"$shots/wine.log" 2>&1 &
program=$!

title='^AMorvek Quorvel Gaming Mouse$'
window=
for _ in $(seq 1800); do
  window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || { echo "the demo ended before its window showed; see $shots/wine.log"; exit 1; }
  sleep 0.5
done
[ -n "$window" ] || { echo "the demo's window did not show"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
settle=${KESTRA_DEMO_SETTLE:-3}
shoot() {
  sleep "$settle"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$1.png"
}
shoot page0
# The page tabs are records 6 to 9 of the main layout: id=name,x,y,width,height,...
layout=$folder/skins/INI_EN/skin_main_en.ini
for page in 1 2 3 0; do
  record=$(iconv -f UTF-16 -t UTF-8 "$layout" | tr -d '\r' | grep "^$((page + 6))=")
  IFS=, read -r _ rx ry rw rh _ <<<"$record"
  xdotool mousemove $((X + rx + rw / 2)) $((Y + ry + rh / 2)) click 1
  [ "$page" -ne 0 ] && shoot "page$page"
done

# End it as the control channel's users do.
exec 3<>"/dev/tcp/127.0.0.1/$port"
echo quit >&3
read -r answer <&3 || true
exec 3<&-
wait "$program" || true
echo "demo ended ($answer); screenshots of its four pages:"
ls "$shots"/page*.png
