#!/usr/bin/env bash
# wine-boot.sh PREFIX [ARCH]: boots a build tree's Wine prefix (ARCH win32 or win64, win32 unless
# given) once and ends its server, so that its registry is on disk and copies of it start ready:
# the test program's shards (wine-shard.sh) and the end-to-end tests' template are such copies.
# Quick when the prefix is booted already; concurrent callers wait on one lock.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
export WINEARCH=${2:-win32}
mkdir -p "$(dirname "$prefix")"
(
  flock 8
  [ -f "$prefix/.kestra-booted" ] && exit 0
  "$here/wine-prefix.sh" "$prefix" >/dev/null 8>&-
  "$here/wine-prefix.sh" --stop "$prefix" 8>&-
  touch "$prefix/.kestra-booted"
) 8>"$prefix.boot.lock"
