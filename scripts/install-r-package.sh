#!/bin/sh
# Installs the R package talver on a Debian machine: the Debian packages it
# needs (apt-get, as root or through sudo; knitr weaves the vignette), then
# the package itself, from the source tarball that scripts/build-r-package.sh
# builds from r/ and the engine's sources, into R's site
# library, or into the user's own library (R_LIBS_USER, which R searches)
# when not root.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
packages="r-base-core r-base-dev r-cran-rcpp r-cran-jsonlite r-cran-knitr"
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
tarball=$("$top/scripts/build-r-package.sh" "$top/build-r")
if [ "$(id -u)" -eq 0 ]; then
    R CMD INSTALL "$tarball"
else
    library=$(Rscript -e 'cat(path.expand(Sys.getenv("R_LIBS_USER")))')
    mkdir -p "$library"
    R CMD INSTALL --library="$library" "$tarball"
fi
