#!/bin/sh
# Sets up, builds and analyses the bundled example samples with the window's
# default options; the reports are written to examples/output.txt (plain
# files) and examples/groups-output.txt (one CSV file with a group column).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$top/examples"
"$top/build/talver-batch" --output output.txt
echo "The report is in $top/examples/output.txt"
# The same samples in one CSV file with a group column and missing answers.
"$top/build/talver-batch" --data groups.csv --group sample --target-group original --replication-group retest \
    --items q1-q10 --missing -9 --output groups-output.txt
echo "The report on groups.csv is in $top/examples/groups-output.txt"
