#!/bin/sh
# Installs Google Benchmark and GNU time when they are missing, builds the
# benchmarks in build-bench/, runs the micro-benchmarks of the kernels and
# then times the whole jobs (scripts/bench-jobs.sh, which takes the arguments
# given here).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-bench
missing=""
for package in libbenchmark-dev time; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    echo "Installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVER_BUILD_BENCHMARKS=ON \
    -DTALVER_BUILD_TESTS=OFF -DTALVER_BUILD_WINDOW=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target talver-batch talver-generate talver_bench
"$build/talver_bench"
"$top/scripts/bench-jobs.sh" -b "$build" "$@"
