#!/bin/sh
# Times polychoric matrices in the window's process against a process without
# a window (talver-window-bench, on Qt's offscreen platform) and fails when
# the window is more than 1.5 times slower. Takes the number of matrices.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target talver-window-bench >/dev/null
TALVER_EXAMPLES="$top/examples" QT_QPA_PLATFORM=offscreen "$build/talver-window-bench" "$@"
