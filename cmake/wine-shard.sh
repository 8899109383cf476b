#!/usr/bin/env bash
# wine-shard.sh INDEX COUNT PROGRAM [ARGS]: runs GoogleTest shard INDEX of COUNT of a test program
# under Wine, in a copy of the build tree's booted prefix (build/<tree>/wineprefix, made by
# wine-boot.sh) with its own server and private Xvfb, so shards run side by side without sharing
# windows, the single-instance mutex or the temporary folder. The copy is removed afterwards.
# Where 32-bit Wine runs through qemu-i386 the emulator now and then kills a Wine process at
# random: there a failed shard is run again, at most three times in all, and each new run is
# said in the output.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
index=$1 count=$2
shift 2

# ctest runs from inside the build tree; the prefixes live at the tree's root.
tree=$PWD
while [ "$tree" != / ] && [ ! -f "$tree/CMakeCache.txt" ]; do tree=$(dirname "$tree"); done
[ -f "$tree/CMakeCache.txt" ] || { echo "wine-shard: not inside a build tree" >&2; exit 1; }
booted=$tree/wineprefix
[ -f "$booted/.kestra-booted" ] || { echo "wine-shard: $booted is not booted (wine-boot.sh)" >&2; exit 1; }

prefix=$tree/shards/wineprefix-$index
"$here/wine-prefix.sh" --stop "$prefix"
rm -rf "$prefix"
mkdir -p "$tree/shards"
cp -a "$booted" "$prefix"
trap '"$here/wine-prefix.sh" --stop "$prefix"; rm -rf "$prefix"' EXIT

export KESTRA_WINEPREFIX=$prefix GTEST_TOTAL_SHARDS=$count GTEST_SHARD_INDEX=$index
unset DISPLAY
attempts=1
grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386 && attempts=3
for attempt in $(seq "$attempts"); do
  status=0
  "$here/wine-run.sh" "$@" || status=$?
  [ "$status" -eq 0 ] && exit 0
  [ "$attempt" -lt "$attempts" ] &&
    echo "wine-shard: RETRY shard $index of $count ended with status $status under qemu-i386; run $((attempt + 1)) of $attempts"
done
exit "$status"
