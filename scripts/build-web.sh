#!/bin/sh
# Builds the browser version into build-web/ (or the folder given first):
# the engine compiled to WebAssembly with Debian's Emscripten, and the page's
# files beside it in build-web/site/, ready to open or to serve as they are.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-web
if [ $# -gt 0 ]; then
    build=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    shift
fi
# Debian's Emscripten runs its JavaScript optimizer with the system's node,
# which finds Debian's node modules (acorn) only here.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
# ccache keeps the compiled objects, as for the other builds (scripts/build.sh):
# the compiler's own path and version are part of what it hashes.
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
emcmake cmake -S "$top" -B "$build/engine" -DCMAKE_BUILD_TYPE=Release -DTALVER_WERROR=ON \
    -DTALVER_BUILD_TESTS=OFF $launcher "$@" >/dev/null
cmake --build "$build/engine" -j"$(nproc)" --target talver-web
site=$build/site
rm -rf "$site"
mkdir -p "$site"
cp "$top"/web/src/index.html "$top"/web/src/page.css "$top"/web/src/page.js "$site"/
# The worker runs from a text the page turns into a blob, and the engine's
# WebAssembly comes as text beside it: a page opened from a folder may
# neither start a worker from a file nor fetch one.
node "$top/web/src/bundle-worker.js" "$top/web/src/worker.js" "$build/engine/talver-engine.js" \
    "$build/engine/talver-engine.wasm" "$site/engine-source.js"
echo "The page is in $site (open index.html, or serve the folder)."
