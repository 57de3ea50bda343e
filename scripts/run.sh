#!/usr/bin/env bash
# Installs what is missing, builds, installs the sample data and starts the program.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"

# A new user gets the steerable array module, so an array can be added at once.
# Same folder as the program's per-user application data (organisation "Zorv",
# application "Zorv Tessary").
SPEAKERS="${XDG_DATA_HOME:-$HOME/.local/share}/Zorv/Zorv Tessary/Loudspeakers"
if [ -z "$(find "$SPEAKERS" -type f -iname '*.vxq' -print -quit 2>/dev/null)" ]; then
  "$BUILD/tools/zorv_datagen_tool" "$SPEAKERS" --array
fi

if [ -x "$BUILD/src/ZorvTessary" ]; then
  # The window needs a screen of at least 1366 x 768.
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display. Run the program under a virtual X server with a large enough screen:"
    echo "  Xvfb :99 -screen 0 1920x1080x24 -nolisten tcp &"
    echo "  DISPLAY=:99 bash scripts/run.sh"
    exit 1
  fi
  exec "$BUILD/src/ZorvTessary" "$@"
fi
echo "The application shell is not built yet: the libraries, tools and tests are built,"
echo "and the loudspeaker data sets are in: $SPEAKERS"
