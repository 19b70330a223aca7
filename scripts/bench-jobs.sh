#!/bin/bash
# Times talver-batch as whole processes on the benchmark jobs: for each job
# and thread count the median wall time of several runs (to the millisecond)
# and the peak memory (GNU time's maximum resident set size), and whether
# every run wrote the same report (clock lines aside) as the first run of its
# job.
#
#   bench-jobs.sh [-b BUILD] [-r RUNS] [-t "1 2"] [-B OTHER-talver-batch] [-j "road ml"]
#
# -b  the build folder with talver-batch and talver-generate (build-bench)
# -r  runs per measurement (5)
# -t  thread counts to time (1 2)
# -B  another talver-batch to time beside it, without --threads: for example
#     one built from an earlier commit
# -j  the jobs to run (all): road (the bundled samples, ULS, covariances),
#     polychoric, ml (Pearson correlations), twenty (20 seven-point items,
#     3 factors, 1000 and 800 participants), road5000 (road, 5000 samples)
#
# Other programs running at the same time distort the times: look at
# `uptime` first and repeat when the load was high.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-bench
runs=5
threads="1 2"
other=""
jobs="road polychoric ml twenty road5000"
while getopts b:r:t:B:j: option; do
    case $option in
        b) build=$(cd "$OPTARG" && pwd) ;;
        r) runs=$OPTARG ;;
        t) threads=$OPTARG ;;
        B) other=$(realpath "$OPTARG") ;;
        j) jobs=$OPTARG ;;
        *) sed -n '2,21p' "$0"; exit 2 ;;
    esac
done
batch=$build/talver-batch
generate=$build/talver-generate
if [ ! -x "$batch" ] || [ ! -x "$generate" ]; then
    echo "No talver-batch or talver-generate in $build: run scripts/bench.sh, or give -b." >&2
    exit 1
fi
if [ ! -x /usr/bin/time ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq time
fi

# The data: the bundled samples, and twenty items made by the generator.
work=$build/bench-jobs
mkdir -p "$work/road" "$work/twenty"
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$work/road/"
if [ ! -s "$work/twenty/replica.dat" ]; then
    "$generate" --participants 1000 --items 20 --factors 3 --categories 7 --seed 91 > "$work/twenty/target.dat"
    "$generate" --participants 800 --items 20 --factors 3 --categories 7 --seed 92 --loading 0.6 \
        --shift 7:0.3 > "$work/twenty/replica.dat"
fi

folder_of() {
    case $1 in
        twenty) echo "$work/twenty" ;;
        *) echo "$work/road" ;;
    esac
}

arguments_of() {
    case $1 in
        road) echo "" ;;
        polychoric) echo "--dispersion polychoric" ;;
        ml) echo "--method ml --dispersion pearson" ;;
        twenty) echo "--target-count 1000 --replication-count 800 --items 20 --factors 3" ;;
        road5000) echo "--samples 5000" ;;
        *) echo "unknown job $1" >&2; exit 2 ;;
    esac
}

blank_clock() {
    sed -e 's/^\( *\)Date: .*/\1Date: -/' -e 's/^\( *\)Time: .*/\1Time: -/' \
        -e 's/^Computing time: .*/Computing time: -/' "$1"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# run_once JOB KEY PROGRAM [--threads N]: one timed run, appended to the
# times of KEY; the report is compared with the job's first one. The wall
# time is taken around the program alone, its peak memory in a run of its
# own under GNU time (whose start would add some milliseconds).
run_once() {
    local job=$1 key=$2 program=$3
    shift 3
    local folder start end
    folder=$(folder_of "$job")
    cd "$folder"
    start=$EPOCHREALTIME
    # shellcheck disable=SC2046 # the job's arguments are words
    "$program" $(arguments_of "$job") "$@" --output "$key.txt" 2>/dev/null
    end=$EPOCHREALTIME
    if [ ! -f "$work/$key.memory" ]; then
        # shellcheck disable=SC2046
        /usr/bin/time -f '%M' -o "$work/$key.memory" "$program" $(arguments_of "$job") "$@" \
            --output "$key.txt" 2>/dev/null
    fi
    cd "$top"
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }' >> "$work/$key.times"
    blank_clock "$folder/$key.txt" > "$work/$key.blanked"
    if [ ! -f "$work/$job.reference" ]; then
        cp "$work/$key.blanked" "$work/$job.reference"
    elif ! cmp -s "$work/$job.reference" "$work/$key.blanked"; then
        echo NO > "$work/$key.differs"
    fi
}

# row JOB KEY LABEL THREADS: the medians of KEY's runs.
row() {
    local wall memory same
    wall=$(median < "$work/$2.times")
    memory=$(awk '{ printf "%.1f", $1 / 1024 }' "$work/$2.memory")
    same=yes
    [ -f "$work/$2.differs" ] && same=NO
    printf '| %-10s | %-7s | %-7s | %8s | %8s | %-4s |\n' "$1" "$3" "$4" "$wall" "$memory" "$same"
}

echo "$(uname -n): $(nproc) cores; load before: $(cut -d' ' -f1-3 /proc/loadavg); median of $runs runs"
echo
echo "| job        | version | threads |   wall s | peak MiB | same |"
echo "|------------|---------|---------|----------|----------|------|"
# The versions and thread counts take turns run by run, so that a change of
# the machine's load falls on all of them alike.
for job in $jobs; do
    rm -f "$work/$job".* "$work/$job"-*
    run=0
    while [ "$run" -lt "$runs" ]; do
        if [ -n "$other" ]; then
            run_once "$job" "$job-other" "$other"
        fi
        for count in $threads; do
            run_once "$job" "$job-$count" "$batch" --threads "$count"
        done
        run=$((run + 1))
    done
    if [ -n "$other" ]; then
        row "$job" "$job-other" other -
    fi
    for count in $threads; do
        row "$job" "$job-$count" this "$count"
    done
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
