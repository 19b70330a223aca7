#!/bin/sh
# Builds the source package of talver, the tarball that R users install:
#     scripts/build-r-package.sh [folder]      (default build-r/)
# lays the package out (scripts/stage-r-package.sh), runs R CMD build on it
# and prints the tarball's path. Install it as any source package:
#     R CMD INSTALL build-r/talver_2.01.tar.gz
#     install.packages("build-r/talver_2.01.tar.gz", repos = NULL, type = "source")
# R CMD build installs the package once to weave the vignette; set
# TALVER_NO_VIGNETTE=1 to leave the vignette out (--no-build-vignettes).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-r}
"$top/scripts/stage-r-package.sh" "$out" > /dev/null
cd "$out"
rm -f talver_*.tar.gz
export MAKEFLAGS="${MAKEFLAGS:--j2}"
if [ -n "$TALVER_NO_VIGNETTE" ]; then
    R CMD build --no-build-vignettes talver >&2
else
    R CMD build talver >&2
fi
echo "$out/$(ls talver_*.tar.gz)"
