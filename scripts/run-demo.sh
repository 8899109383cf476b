#!/usr/bin/env bash
# Starts the demo: TEV_Kestra_sim.exe, the program with a simulated mouse, under Wine.
# Installs what is needed (Debian packages), builds a tree's program folder program_sim and runs
# it in a Wine prefix of its own (demo-wineprefix in the tree). The tree is build/win32 (the
# product's i686 build), or build/win64 run by wine64 where the kernel runs no 32-bit code and
# 32-bit Wine goes through qemu-i386, which ends a program whose threads run side by side.
# - With a display (DISPLAY set): the program's window opens there; the script ends with it.
# - Without one: the program runs on a private Xvfb; the script takes a screenshot of each page
#   (clicking the page tabs where the layout file puts them), ends the program and prints where
#   the screenshots are (demo-screenshots in the tree).
# KESTRA_CONTROL_PORT, when set, opens the demo's control channel on that port (see README).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
preset=win32
loader=wine
if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
  echo "note: this kernel runs no 32-bit code and 32-bit Wine runs through qemu-i386, where a program" \
       "whose threads run side by side dies; the demo runs from the 64-bit tree under wine64 instead"
  preset=win64
  loader=/usr/lib/wine/wine64
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset -j "$(nproc)" --target TEV_Kestra_sim_folder
tree=$root/build/$preset
folder=$tree/program_sim
prefix=$tree/demo-wineprefix
export WINEPREFIX=$prefix WINEARCH=$preset WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -n "${DISPLAY:-}" ]; then
  echo "preparing the Wine prefix (the first time takes a while)"
  cmake/wine-prefix.sh "$prefix" >/dev/null
  echo "starting $folder/TEV_Kestra_sim.exe"
  cd "$folder"
  exec "$loader" ./TEV_Kestra_sim.exe
fi

echo "no display: the demo runs on a private Xvfb (the first start of the prefix takes a while)"
DISPLAY=$(cmake/wine-prefix.sh "$prefix")
export DISPLAY
trap 'cmake/wine-prefix.sh --stop "$prefix"' EXIT
shots=$tree/demo-screenshots
rm -rf "$shots"
mkdir -p "$shots"
port=${KESTRA_CONTROL_PORT:-47123}
(cd "$folder" && KESTRA_CONTROL_PORT=$port exec "$loader" ./TEV_Kestra_sim.exe) >"$shots/wine.log" 2>&1 &
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
# The window's rectangle follows the dialog font Wine finds; what shows is the mask's shape.
shape=$(xwininfo -shape -id "$window" | sed -n 's/.*Window shape extents: *\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
[ -n "$shape" ] && read -r WIDTH HEIGHT <<<"$shape"
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
