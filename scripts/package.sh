#!/bin/sh
# Builds the Debian packages talver (the window) and talver-batch (the command
# line, without Qt) from the release build in build/, or in the folder given,
# and checks them with lintian. The packages are left in <build>/packages/.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/scripts/setup.sh"
# A build folder made earlier keeps its other settings (tests, warnings).
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$build/packages" >/dev/null)
rm -rf "$build/packages/_CPack_Packages"
# Errors fail the run; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$build"/packages/*.deb
ls -1 "$build"/packages/*.deb
