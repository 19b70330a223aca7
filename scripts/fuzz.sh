#!/bin/sh
# Builds the fuzz targets with clang and runs each for the given number of
# seconds (default 300), starting from its seed corpus in
# tests/fuzz/corpus/<target>/. The build folder is the second argument
# (default build-fuzz/); one configured already with -DTALVER_FUZZ=ON, such
# as the sanitizer build of scripts/test.sh, is reused as it is. Inputs that
# reach new code are kept in <build>/corpus/<target>/ for the next run; the
# first failing input stops the run and is left in <build>/findings/<target>/.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
build=${2:-$top/build-fuzz}
if ! grep -q '^TALVER_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$top" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTALVER_FUZZ=ON -DTALVER_BUILD_TESTS=OFF -DTALVER_BUILD_WINDOW=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target talver_fuzzers
export UBSAN_OPTIONS=print_stacktrace=1
passed=0
for seeds in "$top"/tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    log=$build/findings/$target/log.txt
    if "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target/" \
        "$build/corpus/$target" "$seeds" >"$log" 2>&1; then
        echo "fuzz_$target: $(grep -m1 '^stat::number_of_executed_units' "$log" | sed 's/.*: *//') inputs in $seconds s, no failure"
        passed=$((passed + 1))
    else
        tail -n 60 "$log"
        echo "fuzz_$target failed; its log and the failing input are in $build/findings/$target/"
        echo "fuzz: $passed passed, 1 failed"
        exit 1
    fi
done
echo "fuzz: $passed passed, 0 failed"
