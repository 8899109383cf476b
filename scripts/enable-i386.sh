#!/usr/bin/env bash
# Wine's 32-bit loader is a 32-bit Linux program. Some kernels run no 32-bit user code
# (IA-32 emulation off); there the loader runs through qemu-i386 registered with binfmt_misc.
# Quiet and quick when 32-bit programs already run.
set -euo pipefail

/lib/ld-linux.so.2 --version >/dev/null 2>&1 && exit 0

binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/bin/qemu-i386-static
[ -x "$qemu" ] || { echo "enable-i386: $qemu missing (package qemu-user-static)" >&2; exit 1; }
[ -f "$binfmt/register" ] || mount binfmt_misc -t binfmt_misc "$binfmt"
if [ ! -e "$binfmt/qemu-i386" ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
    > "$binfmt/register" 2>/dev/null || true
fi
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "enable-i386: cannot run 32-bit programs" >&2; exit 1; }
