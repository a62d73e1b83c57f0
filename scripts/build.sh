#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZENDREL_BUILD_DIR:-$here/build}"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
