#!/usr/bin/env bash
# Configures and builds into build/ (ccache keeps rebuilds fast).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZORV_BUILD_DIR:-$ROOT/build}"

export CCACHE_BASEDIR="$ROOT"
# Precompiled headers: ccache may cache what compiles with them only with these.
export CCACHE_SLOPPINESS=time_macros,pch_defines,include_file_mtime,include_file_ctime
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$BUILD" --parallel "$(nproc)"
