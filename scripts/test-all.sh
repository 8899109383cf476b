#!/usr/bin/env bash
# Installs what is needed, builds the host, fuzz and win32 trees, and runs every test:
# the host tests (ASan/UBSan), each fuzz target for a bounded time, and the win32 tests under Wine
# (the test program and the end-to-end tests; on a private Xvfb when there is no display, ended
# with the prefixes after the tests).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
fuzz_seconds=${KESTRA_FUZZ_SECONDS:-20}

echo "== host tree"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host

echo "== fuzz targets (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=tests/data/fuzz/$name
  [ -d "$seeds" ] || seeds=""
  echo "-- $name"
  "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" $seeds 2>&1 | tail -n 2
done

echo "== win32 tree (tests under Wine)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
trap 'scripts/wine-stop.sh build/win32' EXIT
# Where Wine runs through qemu-i386 (see README) the emulator itself now and then kills a Wine
# process at random; a test program that fails is run once more, and fails for good the second time.
ctest --preset win32 --repeat until-pass:2
