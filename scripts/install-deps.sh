#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build trees and the tests need.
# Idempotent and quiet when all is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang llvm
  g++-mingw-w64-i686-posix mingw-w64 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  googletest
  wine wine32:i386 wine64
  xvfb xdotool imagemagick x11-utils xclip
  python3-pil python3-pytest python3-pytest-xdist fonts-dejavu-core
  qemu-user-static
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing=(i386-arch)
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
here=$(cd "$(dirname "$0")" && pwd)
if [ ${#missing[@]} -eq 0 ]; then
  exec "$here/enable-i386.sh"
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing: ${missing[*]}"
$SUDO dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails an index now and then; the sync usually ends within minutes, so
# the update is tried again a few times. What still fails is planned around by apt_sync.py (an
# archive read by one architecture and not by another is pinned below the default for this
# install only, so both take the same versions), and a failed install says which package and why.
tries=${KESTRA_APT_UPDATE_TRIES:-4}
pause=${KESTRA_APT_RETRY_PAUSE:-30}
logs=$(mktemp -d)
pin=/etc/apt/preferences.d/kestra-install-deps-pin
cleanup() { $SUDO rm -f "$pin"; rm -rf "$logs"; }
trap cleanup EXIT
for try in $(seq "$tries"); do
  status=0
  $SUDO apt-get update -qq >"$logs/update" 2>&1 || status=$?
  if [ "$status" -eq 0 ] && ! grep -q 'Failed to fetch' "$logs/update"; then break; fi
  if [ "$try" -lt "$tries" ]; then
    echo "apt-get update: some indexes failed (try $try of $tries); trying again in $pause s"
    sleep "$pause"
  fi
done
grep -E '^(E|W): ' "$logs/update" || true
archs=$(dpkg --print-architecture; dpkg --print-foreign-architectures)
python3 "$here/apt_sync.py" plan "$logs/update" "$(echo $archs | tr ' ' ',')" "$logs/pin" || true
[ -f "$logs/pin" ] && $SUDO cp "$logs/pin" "$pin"
if ! $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >"$logs/install" 2>&1; then
  cat "$logs/install" >&2
  python3 "$here/apt_sync.py" explain "$logs/update" "$logs/install" >&2 ||
    echo "install-deps: the install failed" >&2
  exit 1
fi
cleanup
trap - EXIT
"$here/enable-i386.sh"
