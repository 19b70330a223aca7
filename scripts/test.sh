#!/bin/sh
# Sets up, builds and runs every test: once as built normally, once built with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails the test),
# then each fuzz target for a few seconds from its seed corpus.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
# The release build, with every compiler warning an error.
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=Release -DTALVER_WERROR=ON
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)")
# The window stays out of this build: compiling it twice would cost CI
# minutes, and Qt under the sanitizers is slow. GCC's maybe-uninitialized
# analysis gives false alarms inside libstdc++'s <regex> once AddressSanitizer
# instruments it; the normal build keeps that warning.
"$top/scripts/build.sh" "$top/build-asan" -DTALVER_SANITIZE=ON -DTALVER_BUILD_WINDOW=OFF \
    -DCMAKE_CXX_FLAGS=-Wno-maybe-uninitialized
# The calibration study runs thousands of bootstrap replicates: the release
# build covers it.
(cd "$top/build-asan" && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$(nproc)" -LE calibration)
"$top/scripts/fuzz.sh" 10
