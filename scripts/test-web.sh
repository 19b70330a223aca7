#!/bin/sh
# Builds the browser version and runs its tests in Debian's chromium against
# talver-batch of the release build (build/, or the folder given first).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
batch_build=${1:-$top/build}
"$top/scripts/build-web.sh" "$top/build-web"
cd "$top/web/tests"
TALVER_SITE="$top/build-web/site" TALVER_BATCH="$batch_build/talver-batch" node --test
