#!/bin/sh
# Configures and builds TALVER in build/ (or the folder given).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift 2>/dev/null || true
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
