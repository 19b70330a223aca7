#!/bin/sh
# Sets up, builds and runs every test.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j"$(nproc)"
