#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite:
#   1. OpenGL tests (one shared Xvfb, serial),
#   2. a ThreadSanitizer build of the Qt-free layers and their tests,
#   3. a clang AddressSanitizer+UBSan build of every non-GL test,
#   4. every fuzz target for a bounded time, linked in the same tree as stage 3,
#   5. the normal build's non-GL tests (last, so its summary closes the run).
# The sanitizer trees of stages 2 and 3 build beside the OpenGL tests.
# ZORV_QUICK=1 skips stages 2-4. Each stage's wall time is printed as it ends, and again as a
# table when the command ends, however it ends.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"
JOBS="$(nproc)"

# Wall time of each stage, printed as it ends and again as a table at the end.
RUN_START=$SECONDS
STAGE_START=$SECONDS
STAGE_TIMES=()
stage_line() {
  printf '%-54s %5d s  (%d:%02d)' "$1" "$2" $(($2 / 60)) $(($2 % 60))
}
stage_done() {
  local took=$((SECONDS - STAGE_START))
  STAGE_TIMES+=("$(stage_line "$1" "$took")")
  echo "== [time] $1: ${took} s"
  STAGE_START=$SECONDS
}
print_times() {
  local total=$((SECONDS - RUN_START))
  echo "== Stage wall times on $JOBS cores"
  for line in "${STAGE_TIMES[@]}"; do echo "   $line"; done
  echo "   $(stage_line total "$total")"
}
XVFB_PID=""
SAN_PID=""
on_exit() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  # The sanitizer builds run in a process group of their own: a failed run stops them all.
  [ -n "$SAN_PID" ] && kill -- "-$SAN_PID" 2>/dev/null
  [ -n "${SAN_TIMES:-}" ] && rm -f "$SAN_TIMES"
  print_times
}
trap on_exit EXIT

bash "$ROOT/scripts/deps.sh"
stage_done "dependencies"
# Benchmarks are run by hand, never by this command: they are not built here.
bash "$ROOT/scripts/build.sh" -DZORV_BUILD_BENCH=OFF
stage_done "normal build: configure+build"

# The sanitizer trees build beside the OpenGL tests, which mostly wait on the X server and the
# window manager: at the lowest priority, so that the tests keep the processor whenever they need it.
# Their output goes to a log, shown if they fail.
if [ "${ZORV_QUICK:-0}" != "1" ]; then
  SAN_LOG="$BUILD/sanitizer-builds.log"
  SAN_TIMES="$(mktemp)"
  setsid nice -n 19 bash "$ROOT/scripts/sanitizer-builds.sh" "$SAN_TIMES" >"$SAN_LOG" 2>&1 &
  SAN_PID=$!
  echo "== Sanitizer builds started beside the OpenGL tests (log: $SAN_LOG)"
fi

export LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tests/support/tsan.supp"

# 1. OpenGL tests share one X server (waited for until it answers) and run one at a time,
#    once in desktop OpenGL and once in OpenGL ES. With the user interface built, a listing
#    that finds no GL test means a failed discovery: that fails the run, never skips it.
#    Each test is stopped after GL_TIMEOUT seconds, so one whose connection to the X server
#    hangs fails under its own name instead of holding the run until CI's limit. The longest
#    took 47 s on two busy cores; the tests' own deadlines (at most 240 s for one wait, or for
#    the child runs of one test) stay below the limit, so a slow test fails by its own message.
GL_TIMEOUT=300
GL_LIST="$(cd "$BUILD" && ctest -N -L gl 2>&1)" || { echo "$GL_LIST"; echo "GL test listing failed"; exit 1; }
if grep -q "ZORV_BUILD_GUI:BOOL=ON" "$BUILD/CMakeCache.txt" && ! grep -q "Total Tests: [1-9]" <<< "$GL_LIST"; then
  echo "$GL_LIST"; echo "No GL tests discovered"; exit 1
fi
if grep -q "Total Tests: [1-9]" <<< "$GL_LIST"; then
  # The server takes a free display and writes its number once it listens, so another X
  # server on the machine (a second run, a desktop) is never the one the tests talk to.
  DISPLAY_FILE="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$DISPLAY_FILE" >/dev/null 2>&1 &
  XVFB_PID=$!
  DISPLAY_NUM=""
  for _ in $(seq 300); do
    if [ -s "$DISPLAY_FILE" ]; then
      DISPLAY_NUM=":$(head -n 1 "$DISPLAY_FILE")"
      DISPLAY="$DISPLAY_NUM" xdpyinfo >/dev/null 2>&1 && break
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb exited"; exit 1; }
    sleep 0.1
  done
  rm -f "$DISPLAY_FILE"
  [ -n "$DISPLAY_NUM" ] && DISPLAY="$DISPLAY_NUM" xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not answer"; exit 1; }
  echo "== X server on $DISPLAY_NUM"
  (cd "$BUILD" && DISPLAY="$DISPLAY_NUM" QT_QPA_PLATFORM=xcb ctest -L gl --output-on-failure -j 1 --timeout "$GL_TIMEOUT")
  stage_done "OpenGL tests: desktop GL"
  echo "== OpenGL ES"
  # Where the window manager puts the window (ScreenArea) does not depend on the OpenGL flavour:
  # those tests, minutes of round trips through the manager, run in the desktop pass only.
  (cd "$BUILD" && DISPLAY="$DISPLAY_NUM" QT_QPA_PLATFORM=xcb ZORV_GL_ES=1 ctest -L gl -E '^ScreenArea\.' --output-on-failure -j 1 --timeout "$GL_TIMEOUT")
  stage_done "OpenGL tests: OpenGL ES"
fi

if [ -n "$SAN_PID" ]; then
  echo "== Waiting for the sanitizer builds"
  san_rc=0
  wait "$SAN_PID" || san_rc=$?
  SAN_PID=""
  while IFS='|' read -r stage took; do
    STAGE_TIMES+=("$(stage_line "$stage (beside)" "$took")")
  done <"$SAN_TIMES"
  rm -f "$SAN_TIMES"
  if [ "$san_rc" -ne 0 ]; then
    tail -n 200 "$SAN_LOG"
    echo "The sanitizer builds failed (whole log: $SAN_LOG)"
    exit "$san_rc"
  fi
  stage_done "sanitizer builds: waited for after the OpenGL tests"

  # 2. ThreadSanitizer: the acoustic model, the engine and their tests (no Qt).
  (cd "$ROOT/build-tsan" && ctest -LE "gl|nosan" --output-on-failure -j "$JOBS" --timeout 900)
  stage_done "ThreadSanitizer: tests"

  # 3. AddressSanitizer + UBSan with clang: every non-GL test.
  (cd "$ROOT/build-asan" && ASAN_OPTIONS="detect_leaks=1" \
    ctest -LE "gl|nosan" --output-on-failure -j "$JOBS" --timeout 900)
  stage_done "AddressSanitizer+UBSan: tests"

  # 4. Fuzzing, bounded in time (kept inputs are replayed by the tests above and below).
  echo "== Fuzzing"
  ZORV_FUZZ_BUILD_DIR="$ROOT/build-asan" bash "$ROOT/scripts/fuzz.sh" "${ZORV_FUZZ_SECONDS:-60}"
  stage_done "fuzzing"
fi

# 5. The normal build's tests.
cd "$BUILD"
ctest -LE gl --output-on-failure -j "$JOBS" --timeout 600
stage_done "normal tests"
