#!/bin/sh
# Sets up, builds and analyses the bundled example samples with the window's
# default options; the report is written to examples/output.txt.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/examples"
"$top/build/talver-batch" --output output.txt
echo "The report is in $top/examples/output.txt"
