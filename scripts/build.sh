#!/bin/sh
# Configures and builds TALVER in build/, or in the folder given first; any
# further arguments go to cmake (for example -DTALVER_SANITIZE=ON). The build
# is the optimised release build unless they say otherwise: the bootstrap
# runs about a quarter slower at -O2.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
if [ $# -gt 0 ]; then
    build=$1
    shift
fi
# ccache keeps compiled objects across builds and work trees: CI builds the
# same sources in several configurations, and a rebuild after a small change
# recompiles only what changed.
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release $launcher "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
