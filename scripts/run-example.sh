#!/bin/sh
# Sets up, builds and analyses the bundled example samples with the window's
# default options; the reports are written to examples/output.txt (plain
# files) and examples/groups-output.txt (one CSV file with a group column).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
# Only what building and running the programs needs: the test command
# (scripts/test.sh) installs what the tests need. The release build without
# the test suite is the fastest to make and to run.
"$top/scripts/setup.sh"
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=Release -DTALVER_BUILD_TESTS=OFF
cd "$top/examples"
"$top/build/talver-batch" --output output.txt
echo "The report is in $top/examples/output.txt"
# The same samples in one CSV file with a group column and missing answers.
"$top/build/talver-batch" --data groups.csv --group sample --target-group original --replication-group retest \
    --items q1-q10 --missing -9 --output groups-output.txt
echo "The report on groups.csv is in $top/examples/groups-output.txt"
