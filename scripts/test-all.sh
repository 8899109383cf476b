#!/usr/bin/env bash
# Installs what is needed, builds the host, fuzz, win64 and win32 trees, and runs every test:
# the host tests (ASan/UBSan), each fuzz target for a bounded time, and each Windows tree's tests
# under Wine (its test program in shards and the end-to-end tests in parallel workers; on private
# Xvfbs, ended with the prefixes after the tests). Where 32-bit Wine runs through qemu-i386 the
# win32 tree's end-to-end tests skip (see README) and the win64 tree's run the programs.
#
# What does not wait on anything else runs beside it: the Wine prefixes boot while the trees
# build, the fuzz targets run beside the Windows trees' tests, and each tree's tests start as soon
# as its build is done. Background jobs write to build/logs/<job>.log, which is printed when the
# job is waited for. Each stage and job prints its time at its end; the run fails when any of
# them fails.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
fuzz_seconds=${KESTRA_FUZZ_SECONDS:-20}
logs=build/logs
run_start=$SECONDS
failed=()

# The stage running in the foreground.
stage() {
  stage_name=$1
  stage_start=$SECONDS
  echo "== $stage_name"
}
stage_done() {
  echo "== $stage_name: done in $((SECONDS - stage_start)) s (at $((SECONDS - run_start)) s)"
}

# Background jobs: started with `background NAME COMMAND...`, waited for with `collect NAME`.
declare -A job_pid
background() {
  local name=$1
  shift
  echo "== $name: started in the background at $((SECONDS - run_start)) s (log $logs/$name.log)"
  (
    start=$SECONDS
    status=0
    "$@" || status=$?
    echo "$((SECONDS - start)) $((SECONDS - run_start))" >"$logs/$name.time"
    exit "$status"
  ) >"$logs/$name.log" 2>&1 &
  job_pid[$name]=$!
}
collect() {
  local name=$1 status=0 took ended
  wait "${job_pid[$name]}" || status=$?
  unset "job_pid[$name]"
  read -r took ended <"$logs/$name.time" || true
  echo "== $name (background)"
  cat "$logs/$name.log"
  if [ "$status" -eq 0 ]; then
    echo "== $name: done in ${took:-?} s (ended at ${ended:-?} s)"
  else
    echo "== $name: FAILED with status $status after ${took:-?} s (ended at ${ended:-?} s)"
    failed+=("$name")
  fi
}
# A job that still runs when the script ends early is ended with everything it started.
end_tree() {
  local child
  for child in $(pgrep -P "$1"); do end_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
finish() {
  local status=$?
  for pid in "${job_pid[@]}"; do end_tree "$pid"; done
  scripts/wine-stop.sh build/win64
  scripts/wine-stop.sh build/win32
  echo "== all: $((SECONDS - run_start)) s"
  exit "$status"
}

# Where Wine runs through qemu-i386 (see README) the emulator itself now and then kills a Wine
# process at random; there a test program shard that fails is run again, and fails for good the
# third time (cmake/wine-shard.sh says so in the log), and the window tests that open and close
# pop-ups and the macro page's controls are left to the win64 tree, which runs the same code:
# under the emulator Wine's X11 driver now and then unmaps a window X has already destroyed, and
# Xlib ends the process (BadWindow on X_UnmapWindow); they have never failed on the win64 tree.
# Nothing else is run twice.
win32_filter() {
  if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then
    export GTEST_FILTER='-PopupsTest.*:WarningBoxTest.*:MainWindowClicks.*:MacroPageTest.*:MacroGroupFilesTest.*:MacroEditorTest.*:MainWindowPagesTest.*'
  fi
  "$@"
}

# A tree's tests: the prefix booted once, then its test program's shards and the end-to-end
# tests side by side (ctest's fixture boots the prefix if the early boot has not).
windows_tests() {
  ctest --preset "$1" -j "$jobs"
}

fuzz_targets() {
  local running=0
  for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    (
      name=$(basename "$target")
      corpus=build/fuzz/corpus/$name
      mkdir -p "$corpus"
      seeds=tests/data/fuzz/$name
      [ -d "$seeds" ] || seeds=""
      out=$("$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" $seeds 2>&1) ||
        { echo "-- $name FAILED"; echo "$out" | tail -n 40; exit 1; }
      echo "-- $name"
      echo "$out" | tail -n 2
    ) &
    running=$((running + 1))
  done
  local status=0
  for _ in $(seq "$running"); do wait -n || status=1; done
  return "$status"
}

stage "dependencies"
scripts/install-deps.sh
mkdir -p "$logs"
stage_done
trap finish EXIT
# The windows of the tests go to private Xvfbs, never to the caller's display.
unset DISPLAY

background win32-prefix cmake/wine-boot.sh build/win32/wineprefix win32
background win64-prefix cmake/wine-boot.sh build/win64/wineprefix win64

stage "host tree"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host
stage_done

stage "tsan tree (the thread tests under ThreadSanitizer)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
# The device threads beside applies, stops and restarts, the fire and media keys beside the
# button-action turns, the pages painted beside profile switches and DPI steps, and the macro
# page's readings beside step downloads of its open macro; any report ends the run with a failure. Address-space randomisation off: ThreadSanitizer's fixed memory
# layout does not fit the randomised mappings of newer kernels.
TSAN_OPTIONS="halt_on_error=1 exitcode=66" setarch "$(uname -m)" -R build/tsan/tests/kestra_tests \
  --gtest_filter='DeviceThreadsRunTest.*:DeviceThreadsTest.*:ProtocolStressTest.*:HoverTest.*:GroupChangeStepTest.*'
stage_done

# ------------------------------------------------------------------------------------------------

stage "win64 tree build"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
stage_done
collect win64-prefix
background win64-tests windows_tests win64

stage "win32 tree build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
cmake --build --preset win32 --target dist
stage_done
collect win32-prefix
background win32-tests win32_filter windows_tests win32

stage "fuzz build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
stage_done
background fuzz-targets fuzz_targets

collect fuzz-targets
collect win64-tests
collect win32-tests

if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all tests passed"
