#!/usr/bin/env bash
# Configures and builds into build/ (ccache keeps rebuilds fast).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"

export CCACHE_BASEDIR="$ROOT"
export CCACHE_SLOPPINESS=time_macros
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$BUILD" --parallel "$(nproc)"
