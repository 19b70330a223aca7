#!/bin/sh
# Lays out the R package talver for R CMD build in the folder given (default
# build-r/): the package files of r/, the engine's sources (matrix, stats,
# factor, analyses, report, and the few files of data/ and platform/ the
# package uses) compiled into the package, and the example
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
# Of data/, the package needs only the detection of codes that look like
# missing values: R reads the data itself.
mkdir -p "$package/src/data"
cp "$top/data/MissingCodes.h" "$top/data/MissingCodes.cpp" "$package/src/data/"
# The operating-system calls the package makes, from platform/: the header,
# and the implementation of each system family (POSIX for Linux and macOS,
# Windows), which the two Makevars below choose between.
platform_jobs="CLocaleScope"
mkdir -p "$package/src/platform"
for job in $platform_jobs; do
    cp "$top/platform/$job.h" "$package/src/platform/"
    for system in posix windows; do
        if [ -f "$top/platform/$system/$job.cpp" ]; then
            mkdir -p "$package/src/platform/$system"
            cp "$top/platform/$system/$job.cpp" "$package/src/platform/$system/"
        fi
    done
done
mkdir -p "$package/inst/extdata"
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$package/inst/extdata/"
# A JSON file of talver-batch, for the examples of talver_read_json().
cp "$top/r/tests/testthat/fixtures/uls_covariance.json" "$package/inst/extdata/"

# Every object is listed, so that the Makevars needs no make extension and
# works with every make R uses. -ffp-contract=off keeps a*b+c from becoming a
# fused multiply-add, so that the package computes talver-batch's numbers to
# the last bit: on Linux and macOS configure adds it to Makevars.in where the
# compiler takes it; on Windows, where packages have no configure step,
# Makevars.win gives it to Rtools' GCC, which takes it.
engine=$(cd "$package/src" && ls *.cpp matrix/*.cpp stats/*.cpp factor/*.cpp analyses/*.cpp report/*.cpp data/*.cpp)
rm -f "$package/src/Makevars" "$package/src/Makevars.win"
for makevars in Makevars.in Makevars.win; do
    case $makevars in
    Makevars.in) contraction=@FP_CONTRACT_OFF@ system=posix ;;
    *) contraction=-ffp-contract=off system=windows ;;
    esac
    objects=$(cd "$package/src" && { printf '%s\n' $engine; ls platform/$system/*.cpp 2>/dev/null || true; } |
        sed 's/\.cpp$/.o/' | tr '\n' ' ')
    cat > "$package/src/$makevars" <<MAKEVARS
# Written by scripts/stage-r-package.sh.
CXX_STD = CXX20
PKG_CPPFLAGS = -I.
PKG_CXXFLAGS = $contraction
PKG_LIBS = -pthread
OBJECTS = $objects
MAKEVARS
done
echo "$package"
