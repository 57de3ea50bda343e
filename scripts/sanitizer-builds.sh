#!/usr/bin/env bash
# Builds the test command's two sanitizer trees, one after the other, and appends each one's wall
# time to the file named by the first argument ("stage|seconds" a line). The test command runs it
# beside the OpenGL tests.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TIMES="$1"

# Sanitizer builds compile at -O1 with line tables only (the tests' own sources at -O0, as in every
# tree): about three times faster to build than -O2 -g, and their reports still name file and line.
# They build neither benchmarks nor the OpenGL suites, which they never run.
LEAN=(-DZORV_BUILD_BENCH=OFF -DZORV_GL_TESTS=OFF
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
      "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")

start=$SECONDS
# ThreadSanitizer: the acoustic model, the engine and their tests (no Qt).
echo "== ThreadSanitizer build"
ZORV_BUILD_DIR="$ROOT/build-tsan" bash "$ROOT/scripts/build.sh" \
  -DZORV_SANITIZE=thread -DZORV_BUILD_GUI=OFF "${LEAN[@]}"
echo "ThreadSanitizer: configure+build|$((SECONDS - start))" >>"$TIMES"

start=$SECONDS
# AddressSanitizer + UBSan with clang: every non-GL test. The same tree holds the fuzz targets
# (every library carries the fuzzer's coverage hooks, only the fuzz executables link the fuzzer's
# runtime), so fuzzing builds nothing more.
echo "== AddressSanitizer+UBSan build (with the fuzz targets)"
# A tree configured otherwise (gcc, no fuzz targets) by an older test command starts afresh.
if [ -f "$ROOT/build-asan/CMakeCache.txt" ] && ! grep -q "^ZORV_FUZZ:BOOL=ON" "$ROOT/build-asan/CMakeCache.txt"; then
  rm -rf "$ROOT/build-asan"
fi
CC=clang CXX=clang++ ZORV_BUILD_DIR="$ROOT/build-asan" bash "$ROOT/scripts/build.sh" \
  -DZORV_FUZZ=ON "${LEAN[@]}"
echo "AddressSanitizer+UBSan+fuzz: configure+build|$((SECONDS - start))" >>"$TIMES"
