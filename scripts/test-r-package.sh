#!/bin/sh
# Builds the R package talver's source tarball (scripts/build-r-package.sh)
# and checks it as CRAN would, without the network: R CMD check --as-cran
# --no-manual, which must end without an error or a warning, and with no
# note but those the tarball cannot avoid off CRAN (a first submission, the
# installed size, the time check that needs the network). The build installs
# the package once to weave the vignette and the check installs it again;
# ccache serves the second compile of the engine from the first.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build-r
mkdir -p "$out"
export MAKEFLAGS=-j2
if command -v ccache > /dev/null; then
    printf 'CXX20 = ccache %s\n' "$(R CMD config CXX20)" > "$out/Makevars.ccache"
    # The two installs compile in different folders.
    export R_MAKEVARS_USER="$out/Makevars.ccache" CCACHE_NOHASHDIR=1
fi
tarball=$("$top/scripts/build-r-package.sh" "$out")
cd "$out"
rm -rf talver.Rcheck
# There is no network: the incoming checks that would ask CRAN are off.
export _R_CHECK_CRAN_INCOMING_REMOTE_=false
# The vignette was woven by R CMD build; the check still runs its code, but
# does not install the package a third time to weave it again.
R CMD check --as-cran --no-manual --no-build-vignettes "$tarball"
log=talver.Rcheck/00check.log
status=$(grep '^Status:' "$log" || echo "Status: no result")
case "$status" in
*ERROR* | *WARNING* | *"no result"*)
    echo "R CMD check of the R package talver: $status (see $out/$log)" >&2
    exit 1
    ;;
esac
# Notes allowed: the incoming check's (a new submission, its maintainer), the
# installed size of the compiled engine, and the time check, which needs the
# network.
unexpected=$(grep -E '^\* checking .* \.\.\. NOTE' "$log" |
    grep -v -E 'CRAN incoming feasibility|installed package size|future file timestamps' || true)
if [ -n "$unexpected" ]; then
    echo "R CMD check of the R package talver: unexpected notes (see $out/$log):" >&2
    echo "$unexpected" >&2
    exit 1
fi
echo "R CMD check of the R package talver: $status"
