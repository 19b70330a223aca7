#!/bin/sh
# Sets up, builds and runs every test, in two builds:
# - build/: the release build with GCC, warnings as errors, and the whole suite;
# - build-san/: one clang build with AddressSanitizer, UndefinedBehaviorSanitizer
#   and libFuzzer's instrumentation (warnings as errors), which runs the suite
#   again (any sanitizer report fails its test), less the long end-to-end runs
#   that the release stage has covered, and then each fuzz target for a few
#   seconds from its seed corpus.
# Last, the Debian packages of the release build are made, checked and
# installed into a scratch root, and the R package is built and checked.
# Beside all of that, from the release build on, the browser version is
# built with Emscripten and tested in chromium against talver-batch, and the
# cross builds (scripts/cross-test.sh) build talver-batch and the engine's
# tests for Windows with MinGW-w64 and for 64-bit ARM Linux, run them under
# Wine and qemu-user and compare their reports with the release build's.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
# Each stage's end, with the time since the start: CI has a budget.
stage() {
    echo "== $1 done, $(($(date +%s) - start)) s since the start"
}
"$top/scripts/setup.sh" --tests
stage setup
# With the hardening flags of the Debian packages, which are made from this
# build at the end.
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=Release -DTALVER_WERROR=ON -DTALVER_HARDENING=ON -DTALVER_BUILD_TESTS=ON
stage "release build"
# The browser stage runs beside the others; its output is shown when it ends.
mkdir -p "$top/build-web"
# (set -e ends the subshell at a failing command, so the status is caught.)
(status=0; "$top/scripts/test-web.sh" "$top/build" >"$top/build-web/test.log" 2>&1 || status=$?
 echo $status >"$top/build-web/test.status") &
web=$!
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)")
stage "release tests"
# The cross builds, one after the other beside the sanitizer stage; their
# output is shown when they end.
mkdir -p "$top/build-cross"
(status=0
 for system in windows aarch64; do
     "$top/scripts/cross-test.sh" "$system" "$top/build" || status=1
 done
 echo $status >"$top/build-cross/test.status") >"$top/build-cross/test.log" 2>&1 &
cross=$!
# The window stays out of the sanitizer build: compiling it twice would cost
# CI minutes, and Qt under the sanitizers is slow.
# Line tables are all that the sanitizers' stack traces need, and they
# compile faster than full debugging information.
"$top/scripts/build.sh" "$top/build-san" -DCMAKE_CXX_COMPILER=clang++ -DTALVER_SANITIZE=ON -DTALVER_FUZZ=ON \
    -DTALVER_BUILD_WINDOW=OFF -DTALVER_WERROR=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG"
stage "sanitizer build"
# Tests that only repeat whole bootstrap runs of many replicates (to compare
# thread counts or tallies) take minutes under the sanitizers; the same code
# runs there in the smaller tests. The calibration study runs thousands of
# replicates: the release build covers it.
slow='^ThreadCount\.|^ParallelAnalysesTest\.(MaximumLikelihoodWithRedrawnReplicates|ReplicateThatFailsAfterItsRedrawsLate|EveryMethodAndDispersion)$'
slow="$slow"'|^BootstrapTallyTest\.(RedrawsOfTheIndicesPopulations|MaximumLikelihoodRedrawsAreCountedPerSample)$'
# Four degenerate samples whose eight end-to-end runs take a minute each
# here and only repeat, on other numbers, what the other cases run; the
# huge scores stay, for the undefined-behaviour checks.
slow="$slow"'|^Cases/DegenerateDataTest\..*/(NegativeScores|UnusedMiddleScore|BinaryItemsWithAnEmptyCell|IdenticalSamples) '
# Eight frames of each allocation's stack say where a faulty block was made;
# recording the default thirty costs a fifth of the suite's time. A freed
# block stays poisoned until 16 MiB more have been freed (256 by default):
# enough for a use soon after the free, and the engine, which frees its
# matrices at once here, runs a quarter faster.
(cd "$top/build-san" && UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=malloc_context_size=8:quarantine_size_mb=16 \
    ctest --output-on-failure -j"$(nproc)" -E "$slow" -LE calibration)
stage "sanitizer tests"
"$top/scripts/fuzz.sh" 6 "$top/build-san"
stage fuzzing
# The Debian packages of the release build, installed into a scratch root.
"$top/scripts/ci-package.sh"
stage packages
# The R package, built and checked on the same engine sources.
"$top/scripts/test-r-package.sh"
stage "R package"
# The R package's C++ sources compiled and linked for Windows, as Rtools would.
"$top/scripts/check-r-package-mingw.sh" > /dev/null
stage "R package for Windows"
wait $cross
cat "$top/build-cross/test.log"
stage "Windows and ARM (beside the stages above)"
wait $web
cat "$top/build-web/test.log"
stage "browser (beside the stages above)"
[ "$(cat "$top/build-cross/test.status")" = 0 ] && [ "$(cat "$top/build-web/test.status")" = 0 ]
