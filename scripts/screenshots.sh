#!/bin/sh
# Renders the main window and every dialog of talver to PNG files in docs/
# (or the folder given), on Qt's offscreen platform: no display needed. The
# window runs the road of one job on a copy of the example samples.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$top/docs}
build=${BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target talver-screenshots >/dev/null
mkdir -p "$output"
output=$(cd "$output" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The window shows the report's path beside the data: name it like the examples.
work=$scratch/examples
mkdir "$work"
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$top/examples/groups.csv" "$work/"
cd "$work"
QT_QPA_PLATFORM=offscreen TALVER_EDITOR=true "$build/talver-screenshots" "$output" 2>/dev/null
