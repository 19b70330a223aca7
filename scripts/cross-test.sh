#!/bin/sh
# Builds talver-batch and the engine's test programs for another system with
# Debian's cross compilers, runs the test programs there (Windows under Wine,
# 64-bit ARM under qemu-user), and compares the reports of the bundled
# example jobs with those of the native build, apart from the clock lines.
#
#   scripts/cross-test.sh windows|aarch64 [NATIVE-BUILD]
#
# NATIVE-BUILD (default build/) holds the native talver-batch. The cross
# build goes to build-windows/ or build-aarch64/; Wine's settings folder
# (WINEPREFIX) lives in it, so that nothing outside the build is touched.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
target=$1
native=$(cd "${2:-$top/build}" && pwd)
case $target in
    windows) toolchain=mingw-w64-x86_64 batch=talver-batch.exe ;;
    aarch64) toolchain=aarch64-linux-gnu batch=talver-batch ;;
    *) echo "usage: $0 windows|aarch64 [NATIVE-BUILD]" >&2; exit 2 ;;
esac
build=$top/build-$target
start=$(date +%s)
say() {
    echo "== $target: $1, $(($(date +%s) - start)) s"
}

launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
# No statistics files (Debian builds ReadStat for neither system), no window;
# GoogleTest is compiled for the target from Debian's sources.
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/scripts/toolchains/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTALVER_WERROR=ON -DTALVER_READSTAT=OFF -DTALVER_BUILD_WINDOW=OFF \
    -DTALVER_GTEST_SOURCE_DIR=/usr/src/googletest -DTALVER_TEST_AREAS="matrix;stats;factor;analyses;report;platform" \
    $launcher >/dev/null
cmake --build "$build" -j"$(nproc)"
say built

# The target's programs run under their emulator: qemu-user with the
# target's C library from Debian's cross packages (no binfmt_misc
# registration is needed), or Wine.
run() {
    qemu-aarch64 -L /usr/aarch64-linux-gnu "$@"
}
if [ "$target" = windows ]; then
    export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # Wine's first start writes its settings folder; later ones take a second.
    wineboot --init >/dev/null 2>&1 || true
    say "Wine started"
    run() {
        wine "$@"
    }
fi
(cd "$build" && ctest --output-on-failure -j"$(nproc)")
say "engine tests"

# The jobs of the example samples: plain files with the default options, the
# CSV file with a group column and a missing-value code, and a polychoric
# run with its JSON companion.
blank_clock() {
    sed -e 's/^\( *\)Date: .*/\1Date: -/' -e 's/^\( *\)Time: .*/\1Time: -/' \
        -e 's/^Computing time: .*/Computing time: -/' "$1"
}
jobs=$build/jobs
rm -rf "$jobs"
failed=0
for job in road groups polychoric; do
    case $job in
        road) arguments="" ;;
        groups) arguments="--data groups.csv --group sample --target-group original --replication-group retest --items q1-q10 --missing -9" ;;
        polychoric) arguments="--dispersion polychoric --json $job.json" ;;
    esac
    for side in native "$target"; do
        mkdir -p "$jobs/$side"
        cp "$top/examples/target.dat" "$top/examples/replica.dat" "$top/examples/groups.csv" "$jobs/$side/"
        # The native program runs as it is; the other under its emulator.
        if [ "$side" = native ]; then program=$native/talver-batch; via=""; else program=$build/$batch; via=run; fi
        # shellcheck disable=SC2086 # the job's arguments are words
        (cd "$jobs/$side" && $via "$program" $arguments --output "$job.txt" 2>"$job.messages")
        blank_clock "$jobs/$side/$job.txt" > "$jobs/$side/$job.blanked"
    done
    if ! cmp -s "$jobs/native/$job.blanked" "$jobs/$target/$job.blanked"; then
        echo "The $job report differs between the native and the $target build:" >&2
        diff "$jobs/native/$job.blanked" "$jobs/$target/$job.blanked" | head -20 >&2
        failed=1
    fi
    # The JSON file holds every double to its last digit, which another
    # system's math library (exp, log, erfc) may round otherwise; the
    # printed report must not differ, the JSON file is only told of.
    if [ -f "$jobs/native/$job.json" ] && ! cmp -s "$jobs/native/$job.json" "$jobs/$target/$job.json"; then
        echo "note: the $job JSON file differs between the native and the $target build beyond the report's digits." >&2
    fi
done
say "reports compared"

# Ctrl-C in the middle of the bootstrap: Wine turns SIGINT into the
# console's Ctrl-C event. The run stops with Linux's status for it (130),
# keeps the earlier report and leaves no temporary file.
if [ "$target" = windows ]; then
    stop=$jobs/stop
    mkdir -p "$stop"
    cp "$top/examples/target.dat" "$top/examples/replica.dat" "$stop/"
    echo "the earlier report" > "$stop/stop.txt"
    (cd "$stop" && exec wine "$build/$batch" --samples 5000 --threads 1 --output stop.txt 2>stop.messages) &
    running=$!
    waited=0
    until grep -q "Bootstrap resampling" "$stop/stop.messages" 2>/dev/null || [ $waited -ge 600 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    # Wine's launcher waits for the Windows process it started: the signal
    # goes to that process, as a terminal's Ctrl-C would.
    children=$(ps -o pid= --ppid $running || true)
    kill -INT ${children:-$running}
    status=0
    wait $running || status=$?
    left=$(cd "$stop" && ls -A | grep -c '^\.stop\.txt\.tmp-' || true)
    if [ "$status" -ne 130 ] || [ "$(cat "$stop/stop.txt")" != "the earlier report" ] || [ "$left" -ne 0 ]; then
        echo "Ctrl-C under Wine: status $status (130 expected), $left temporary files left, report now:" >&2
        head -3 "$stop/stop.txt" >&2
        cat "$stop/stop.messages" >&2
        failed=1
    fi
    say "Ctrl-C"
fi

# Data files and a report whose names are not ASCII: the samples are read,
# the earlier report of that name is replaced, and the report and the
# messages name the files as they were typed. The command line, the names
# and the messages are UTF-8 (on Windows the program's manifest sets it as
# the process code page; Wine reads the command line in the locale's
# encoding).
named=$jobs/named
mkdir -p "$named"
target_file="Ziel-$(printf '\303\274').dat"
replication_file="Replik-$(printf '\342\202\254').dat"
report="Bericht-$(printf '\303\274\342\202\254\346\270\254').txt"
cp "$top/examples/target.dat" "$named/$target_file"
cp "$top/examples/replica.dat" "$named/$replication_file"
echo "the earlier report" > "$named/$report"
(cd "$named" && export LC_ALL=C.UTF-8 && run "$build/$batch" --target "$target_file" --replication "$replication_file" \
    --samples 100 --output "$report" --json "${report%.txt}.json" 2>messages) || true
if ! grep -q "TALVER completed" "$named/$report" 2>/dev/null || [ "$(ls -A "$named" | wc -l)" -ne 5 ] ||
    ! grep -q "^Target sample data file *: $target_file\$" "$named/$report" ||
    ! grep -q "^Replication sample data file *: $replication_file\$" "$named/$report" ||
    ! grep -q "^Report written to .*$report" "$named/messages"; then
    echo "Files named outside ASCII were not read, written in place or named as typed; the folder holds:" >&2
    ls -A "$named" >&2
    cat "$named/messages" >&2
    failed=1
fi
say "names outside ASCII"

# Without ReadStat, a statistics file is refused with what to do instead.
if [ "$target" = windows ]; then
    : > "$jobs/$target/survey.sav"
    status=0
    (cd "$jobs/$target" && run "$build/$batch" --data survey.sav --group g --target-group 1 --replication-group 2 --items q1-q10 --output survey.txt \
        2>survey.messages) || status=$?
    if [ "$status" -ne 2 ] || ! grep -q "SPSS file.*Export the data" "$jobs/$target/survey.messages"; then
        echo "A statistics file was not refused with the advice to export CSV (status $status):" >&2
        cat "$jobs/$target/survey.messages" >&2
        failed=1
    fi
fi
exit $failed
