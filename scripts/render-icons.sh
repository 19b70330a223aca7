#!/bin/sh
# Renders the program's icon (app/qt/resources/icon.svg) into the bitmap sizes
# of the hicolor icon theme, packaging/icons/<size>/talver.png. Run it again
# after the SVG changes and commit the pictures; builds only copy them.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" --tests
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$top/packaging/icons/$size"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$top/packaging/icons/$size/talver.png" "$top/app/qt/resources/icon.svg"
done
