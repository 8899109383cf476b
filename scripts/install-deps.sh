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
# A mirror caught mid-sync fails one index now and then; what the others list still installs.
$SUDO apt-get update -qq || echo "apt-get update: some indexes failed; installing from what was read"
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
"$here/enable-i386.sh"
