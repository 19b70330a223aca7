#!/bin/sh
# Builds the R package talver (r/, with the engine's sources) and checks it:
# R CMD build, then R CMD check --no-manual --no-build-vignettes, which must end without an error
# or a warning. The build installs the package once to weave the vignette and
# the check installs it again; ccache serves the second compile of the engine
# from the first.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build-r
"$top/scripts/stage-r-package.sh" "$out" > /dev/null
cd "$out"
rm -rf talver_*.tar.gz talver.Rcheck
export MAKEFLAGS=-j2
if command -v ccache > /dev/null; then
    printf 'CXX20 = ccache %s\n' "$(R CMD config CXX20)" > "$out/Makevars.ccache"
    # The two installs compile in different folders.
    export R_MAKEVARS_USER="$out/Makevars.ccache" CCACHE_NOHASHDIR=1
fi
R CMD build talver
# The vignette was woven by R CMD build; the check still runs its code, but
# does not install the package a third time to weave it again.
R CMD check --no-manual --no-build-vignettes talver_*.tar.gz
status=$(grep '^Status:' talver.Rcheck/00check.log || echo "Status: no result")
case "$status" in
*ERROR* | *WARNING* | *"no result"*)
    echo "R CMD check of the R package talver: $status (see $out/talver.Rcheck/00check.log)" >&2
    exit 1
    ;;
esac
echo "R CMD check of the R package talver: $status"
