#!/bin/sh
# Configures and builds TALVER in build/, or in the folder given first; any
# further arguments go to cmake (for example -DTALVER_SANITIZE=ON).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
if [ $# -gt 0 ]; then
    build=$1
    shift
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
