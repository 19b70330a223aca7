#!/bin/sh
# Builds the fuzz targets with clang and runs each for the given number of
# seconds (default 300), starting from its seed corpus in
# tests/fuzz/corpus/<target>/. The build folder is the second argument
# (default build-fuzz/); one configured already with -DTALVER_FUZZ=ON, such
# as the sanitizer build of scripts/test.sh, is reused as it is. Inputs that
# reach new code are kept in <build>/corpus/<target>/ for the next run; the
# first failing input stops that target and is left in <build>/findings/<target>/;
# the targets run side by side, one per core.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
build=${2:-$top/build-fuzz}
# Absolute: the batch command-line target works in folders of its own.
mkdir -p "$build"
build=$(cd "$build" && pwd)
if ! grep -q '^TALVER_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$top" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTALVER_FUZZ=ON -DTALVER_BUILD_TESTS=OFF -DTALVER_BUILD_WINDOW=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target talver_fuzzers
export UBSAN_OPTIONS=print_stacktrace=1
# One target: its summary line in <findings>/summary, and "failed" there
# when it found a failing input.
run_target() {
    seeds=$1
    target=$(basename "$seeds")
    findings=$build/findings/$target
    mkdir -p "$build/corpus/$target" "$findings"
    rm -f "$findings/summary"
    if "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$build/corpus/$target" "$seeds" >"$findings/log.txt" 2>&1; then
        echo "fuzz_$target: $(grep -m1 '^stat::number_of_executed_units' "$findings/log.txt" | sed 's/.*: *//') inputs in $seconds s, no failure" \
            > "$findings/summary"
    else
        echo failed > "$findings/summary"
    fi
}
# The targets run a core each, as many at a time as there are cores.
running=0
for seeds in "$top"/tests/fuzz/corpus/*/; do
    run_target "$seeds" &
    running=$((running + 1))
    if [ "$running" -ge "$(nproc)" ]; then
        wait
        running=0
    fi
done
wait
passed=0
failed=0
for seeds in "$top"/tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    findings=$build/findings/$target
    if [ "$(cat "$findings/summary" 2>/dev/null)" = failed ] || [ ! -s "$findings/summary" ]; then
        tail -n 60 "$findings/log.txt"
        echo "fuzz_$target failed; its log and the failing input are in $findings/"
        failed=$((failed + 1))
    else
        cat "$findings/summary"
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
