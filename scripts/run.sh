#!/usr/bin/env bash
# Installs what is missing, builds, installs the sample data and starts the program.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/deps.sh"
bash "$ROOT/scripts/build.sh"

if [ -x "$BUILD/src/ZorvTessary" ]; then
  exec "$BUILD/src/ZorvTessary" "$@"
fi
echo "The application shell is not built yet: the libraries, tools and tests are."
