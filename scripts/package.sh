#!/bin/sh
# Builds the Debian packages talver (the window) and talver-batch (the command
# line, without Qt) from the release build in build/, or in the folder given,
# and checks them with lintian. The packages are left in <build>/packages/.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/scripts/setup.sh" --tests
# A build folder made earlier keeps its other settings (tests, warnings).
# The programs are compiled with the distribution's hardening flags.
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTALVER_HARDENING=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$build/packages" >/dev/null)
rm -rf "$build/packages/_CPack_Packages"
# Errors and warnings fail the run, and so does any hardening tag (lintian
# names them "hardening-..."); pedantic and informational tags are shown.
status=0
lintian --pedantic -I -E --fail-on error,warning --tag-display-limit 0 "$build"/packages/*.deb \
    >"$build/packages/lintian.txt" || status=$?
cat "$build/packages/lintian.txt"
[ "$status" -eq 0 ] || exit "$status"
if grep -q "hardening" "$build/packages/lintian.txt"; then
    echo "package.sh: lintian finds the programs without the hardening flags" >&2
    exit 1
fi
rm "$build/packages/lintian.txt"
ls -1 "$build"/packages/*.deb
