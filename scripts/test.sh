#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"

JOBS="$(nproc)"
cd "$BUILD"

# OpenGL tests share one X server and run one at a time.
if ctest -N -L gl 2>/dev/null | grep -q "Total Tests: [1-9]"; then
  DISPLAY_NUM=":97"
  Xvfb "$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
  sleep 1
  DISPLAY="$DISPLAY_NUM" QT_QPA_PLATFORM=xcb ctest -L gl --output-on-failure -j 1
fi

ctest -LE gl --output-on-failure -j "$JOBS" --timeout 600
