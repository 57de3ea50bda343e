#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite:
#   1. OpenGL tests (one shared Xvfb, serial),
#   2. a ThreadSanitizer build of the Qt-free layers and their tests,
#   3. an AddressSanitizer+UBSan build of every non-GL test,
#   4. every fuzz target for a bounded time, plus replay of kept regressions,
#   5. the normal build's non-GL tests (last, so its summary closes the run).
# ZORV_QUICK=1 skips stages 2-4.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"
JOBS="$(nproc)"

bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"

export LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tests/support/tsan.supp"

# 1. OpenGL tests share one X server (waited for until it answers) and run one at a time,
#    once in desktop OpenGL and once in OpenGL ES. With the user interface built, a listing
#    that finds no GL test means a failed discovery: that fails the run, never skips it.
GL_LIST="$(cd "$BUILD" && ctest -N -L gl 2>&1)" || { echo "$GL_LIST"; echo "GL test listing failed"; exit 1; }
if grep -q "ZORV_BUILD_GUI:BOOL=ON" "$BUILD/CMakeCache.txt" && ! grep -q "Total Tests: [1-9]" <<< "$GL_LIST"; then
  echo "$GL_LIST"; echo "No GL tests discovered"; exit 1
fi
if grep -q "Total Tests: [1-9]" <<< "$GL_LIST"; then
  DISPLAY_NUM=":97"
  Xvfb "$DISPLAY_NUM" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
  for _ in $(seq 300); do
    DISPLAY="$DISPLAY_NUM" xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb exited"; exit 1; }
    sleep 0.1
  done
  DISPLAY="$DISPLAY_NUM" xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not answer"; exit 1; }
  (cd "$BUILD" && DISPLAY="$DISPLAY_NUM" QT_QPA_PLATFORM=xcb ctest -L gl --output-on-failure -j 1)
  echo "== OpenGL ES"
  (cd "$BUILD" && DISPLAY="$DISPLAY_NUM" QT_QPA_PLATFORM=xcb ZORV_GL_ES=1 ctest -L gl --output-on-failure -j 1)
fi

if [ "${ZORV_QUICK:-0}" != "1" ]; then
  # Sanitizer builds compile at -O1 with line tables only: about three times
  # faster to build than -O2 -g, and their reports still name file and line.
  LEAN=(-DZORV_BUILD_BENCH=OFF
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
        "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")

  # 2. ThreadSanitizer: the acoustic model, the engine and their tests (no Qt).
  echo "== ThreadSanitizer build"
  ZORV_BUILD_DIR="$ROOT/build-tsan" bash "$ROOT/scripts/build.sh" \
    -DZORV_SANITIZE=thread -DZORV_BUILD_GUI=OFF "${LEAN[@]}"
  (cd "$ROOT/build-tsan" && ctest -LE "gl|nosan" --output-on-failure -j "$JOBS" --timeout 900)

  # 3. AddressSanitizer + UBSan: every non-GL test.
  echo "== AddressSanitizer+UBSan build"
  ZORV_BUILD_DIR="$ROOT/build-asan" bash "$ROOT/scripts/build.sh" \
    -DZORV_SANITIZE=address,undefined "${LEAN[@]}"
  (cd "$ROOT/build-asan" && ASAN_OPTIONS="detect_leaks=1" \
    ctest -LE "gl|nosan" --output-on-failure -j "$JOBS" --timeout 900)

  # 4. Fuzzing, bounded in time (kept inputs are replayed by the tests above and below).
  echo "== Fuzzing"
  bash "$ROOT/scripts/fuzz.sh" "${ZORV_FUZZ_SECONDS:-60}"
fi

# 5. The normal build's tests.
cd "$BUILD"
ctest -LE gl --output-on-failure -j "$JOBS" --timeout 600
