#!/bin/sh
# Lays out the R package talver for R CMD build in the folder given (default
# build-r/): the package files of r/, the engine's sources (matrix, stats,
# factor, analyses, report) compiled into the package, and the example
# samples as its data. Prints the package folder.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-r}
package=$out/talver
rm -rf "$package"
mkdir -p "$out"
cp -R "$top/r" "$package"
rm -rf "$package/tests/testthat/_snaps" "$package/src/"*.o "$package/src/"*.so
for layer in matrix stats factor analyses report; do
    mkdir -p "$package/src/$layer"
    cp "$top/$layer/"*.h "$top/$layer/"*.cpp "$package/src/$layer/"
done
# The package ends a call with an R error where the programs end the process.
rm "$package/src/matrix/FatalMatrixError.cpp"
mkdir -p "$package/inst/extdata"
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$package/inst/extdata/"
# A JSON file of talver-batch, for the examples of talver_read_json().
cp "$top/r/tests/testthat/fixtures/uls_covariance.json" "$package/inst/extdata/"

# Every object is listed, so the Makevars needs no make extension; configure
# adds the flag that turns off fused multiply-adds.
objects=$(cd "$package/src" && ls *.cpp matrix/*.cpp stats/*.cpp factor/*.cpp analyses/*.cpp report/*.cpp |
    sed 's/\.cpp$/.o/' | tr '\n' ' ')
cat > "$package/src/Makevars.in" <<MAKEVARS
# Written by scripts/stage-r-package.sh.
CXX_STD = CXX20
PKG_CPPFLAGS = -I.
PKG_CXXFLAGS = @FP_CONTRACT_OFF@
PKG_LIBS = -pthread
OBJECTS = $objects
MAKEVARS
echo "$package"
