#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time. The tree is
# build-fuzz/ unless ZORV_FUZZ_BUILD_DIR names another (the test command's build-asan/ holds
# them beside the tests).
# Usage: scripts/fuzz.sh [seconds-per-target] [target-name...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
SECONDS_PER_TARGET="${1:-${ZORV_FUZZ_SECONDS:-60}}"
shift || true

ls "$ROOT"/fuzz/*Fuzzer.cpp >/dev/null 2>&1 || { echo "no fuzz targets"; exit 0; }

CC=clang CXX=clang++ ZORV_BUILD_DIR="$BUILD" bash "$ROOT/scripts/build.sh" \
  -DZORV_FUZZ=ON -DZORV_BUILD_TESTS=OFF -DZORV_BUILD_BENCH=OFF

# A small quarantine keeps the memory the limit sees close to what the reader holds.
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0:quarantine_size_mb=32"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$ROOT"/fuzz/*Fuzzer.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

# Targets run side by side, one a core (ZORV_FUZZ_JOBS, default every core): each still fuzzes
# for its full time on a core of its own.
FUZZ_JOBS="${ZORV_FUZZ_JOBS:-$(nproc)}"

start_target() {
  local t="$1"
  local seeds="$BUILD/fuzz-corpus/$t"
  mkdir -p "$seeds"
  # Seeds: the committed corpus, the kept regressions and what the seed writer makes.
  for kept in "$ROOT/fuzz/corpus/$t" "$ROOT/fuzz/regressions/$t"; do
    [ -d "$kept" ] && cp -n "$kept"/* "$seeds"/ 2>/dev/null || true
  done
  [ -x "$BUILD/tools/zorv_fuzz_seeds" ] && "$BUILD/tools/zorv_fuzz_seeds" "$t" "$seeds" || true
  mkdir -p "$BUILD/fuzz-findings/$t"
  echo "== fuzzing $t for ${SECONDS_PER_TARGET}s"
  "$BUILD/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -timeout=1 -rss_limit_mb=512 -malloc_limit_mb=512 \
    -artifact_prefix="$BUILD/fuzz-findings/$t/" -print_final_stats=1 "$seeds" >"$BUILD/fuzz-$t.log" 2>&1 &
}

status=0
for ((first = 0; first < ${#targets[@]}; first += FUZZ_JOBS)); do
  batch=("${targets[@]:first:FUZZ_JOBS}")
  pids=()
  for t in "${batch[@]}"; do
    start_target "$t"
    pids+=($!)
  done
  for i in "${!batch[@]}"; do
    t="${batch[$i]}"
    pid="${pids[$i]}"
    rc=0; wait "$pid" || rc=$?
    # Scratch files the targets keep under their process id; a crash leaves them behind.
    rm -rf /dev/shm/zorv-fuzz-"$pid".* /dev/shm/zorv-fuzz-"$pid"-* 2>/dev/null || true
    if [ $rc -ne 0 ]; then
      tail -60 "$BUILD/fuzz-$t.log"
      echo "FUZZ FAILURE in $t: reproducer in $BUILD/fuzz-findings/$t (copy it to fuzz/regressions/$t/)"
      status=1
    else
      echo "== $t:"
      grep -E "stat::number_of_executed_units|Done" "$BUILD/fuzz-$t.log" | tail -2 || true
    fi
  done
done
exit $status
