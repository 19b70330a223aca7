#!/bin/bash
# Times whole talver-batch runs over a grid of questionnaire sizes, for this
# build and, side by side in the same run, another talver-batch (for example
# one built from an earlier commit): wall time, CPU time (user + system) and
# peak memory (GNU time's maximum resident set size) per job, and whether
# both versions wrote the same report, date and times aside. A job is one
# method on one dispersion matrix; every output is on. The data are made by
# talver-generate, once per size, in BUILD/bench-grid.
#
#   bench-grid.sh [-b BUILD] [-B OTHER-talver-batch] [-x "60 ml:30"]
#                 [-i "10 20 30 60 120"] [-n "2000:1500"] [-s "1000"] [-t "1 2"]
#                 [-m "uls pca ml"] [-d "covariance pearson polychoric"]
#                 [-P POLYCHORIC-SAMPLES] [-o TABLE.tsv]
#
# -b  build folder with talver-batch and talver-generate (build)
# -B  the other talver-batch, timed before this one on every job
# -x  time the other version only up to this many items (all); a word
#     METHOD:N or DISPERSION:N sets a lower limit for those jobs, for
#     example "60 ml:30 polychoric:30"
# -i  item counts; the factors go with them: 10:2 20:3 30:3 60:6 120:8
# -n  participant pairs TARGET:REPLICATION, from 500:400 to 20000:15000
# -s  bootstrap samples (500 to 5000)
# -t  thread counts
# -m  methods: uls, pca, ml, each on every dispersion of -d (ML on
#     polychoric correlations is left out); poly is ULS on polychoric
#     correlations alone, whatever -d says
# -d  dispersion matrices: covariance, pearson, polychoric
# -P  bootstrap samples of the polychoric jobs instead of -s, for example
#     500 to keep their 120-item jobs short on a busy machine
# -o  also write the rows as tab-separated values to this file, with the
#     reference E (for scripts/bench-table.sh and scripts/bench-plot.R)
#
# Absolute times differ from machine to machine, so the grid also times, in
# the same run, the reference job E of scripts/bench-reference.R (R's
# symmetric eigen decomposition of 4000 covariance matrices of 60 items, one
# core), before the grid and after it; divide the CPU seconds by it.
#
# Run it niced on a quiet machine: look at `uptime` before and after.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
other=""
items="10 20 30 60 120"
participants="2000:1500"
samples="1000"
threads="1 2"
methods="uls pca ml"
dispersions="covariance pearson polychoric"
otherLimits=""
polySamples=""
tsv=""
while getopts b:B:x:i:n:s:t:m:d:P:o: option; do
    case $option in
        b) build=$(cd "$OPTARG" && pwd) ;;
        B) other=$(realpath "$OPTARG") ;;
        x) otherLimits=$OPTARG ;;
        i) items=$OPTARG ;;
        n) participants=$OPTARG ;;
        s) samples=$OPTARG ;;
        t) threads=$OPTARG ;;
        m) methods=$OPTARG ;;
        d) dispersions=$OPTARG ;;
        P) polySamples=$OPTARG ;;
        o) tsv=$(realpath -m "$OPTARG") ;;
        *) sed -n '2,31p' "$0"; exit 2 ;;
    esac
done
batch=$build/talver-batch
generate=$build/talver-generate
if [ ! -x "$batch" ] || [ ! -x "$generate" ]; then
    echo "No talver-batch or talver-generate in $build: build them, or give -b." >&2
    exit 1
fi
if [ ! -x /usr/bin/time ]; then
    echo "GNU time is missing: apt-get install time" >&2
    exit 1
fi

factors_of() {
    case $1 in
        10) echo 2 ;; 20 | 30) echo 3 ;; 60) echo 6 ;; 120) echo 8 ;;
        *) echo $(( $1 / 15 + 1 )) ;;
    esac
}

# Five-point items; the Replication sample has weaker loadings and one
# shifted item, as a real comparison would.
make_data() {
    local folder=$1 p=$2 nt=$3 nr=$4 m
    m=$(factors_of "$p")
    mkdir -p "$folder"
    if [ ! -s "$folder/replica.dat" ]; then
        "$generate" --participants "$nt" --items "$p" --factors "$m" --categories 5 --seed $((p * 7 + 1)) \
            > "$folder/target.dat"
        "$generate" --participants "$nr" --items "$p" --factors "$m" --categories 5 --seed $((p * 7 + 2)) \
            --loading 0.6 --shift 2:0.3 > "$folder/replica.dat"
    fi
}

# The jobs as METHOD:DISPERSION words, each once, in the order of -m and -d;
# ML takes no polychoric correlations (talver-batch refuses them).
jobs_of() {
    local method dispersion job list=" "
    for method in $methods; do
        for dispersion in $dispersions; do
            job=$method:$dispersion
            if [ "$method" = poly ]; then job=uls:polychoric; fi
            if [ "$job" = ml:polychoric ]; then continue; fi
            case $list in *" $job "*) ;; *) list="$list$job " ;; esac
        done
    done
    echo "$list"
}

# The most items the other version is timed with on METHOD DISPERSION: the
# least of the plain limits of -x and those named for the method or matrix.
other_limit() {
    local limit=1000000 word key value
    for word in $otherLimits; do
        key=${word%%:*}
        value=${word##*:}
        if [ "$key" = "$word" ] || [ "$key" = "$1" ] || [ "$key" = "$2" ]; then
            if [ "$value" -lt "$limit" ]; then limit=$value; fi
        fi
    done
    echo "$limit"
}

blank_clock() {
    sed -e 's/^\( *\)Date: .*/\1Date: -/' -e 's/^\( *\)Time: .*/\1Time: -/' \
        -e 's/^Computing time: .*/Computing time: -/' "$1"
}

# timed FOLDER OUTPUT PROGRAM ARGUMENTS...: prints "wall cpu peakMiB".
timed() {
    local folder=$1 output=$2
    shift 2
    (cd "$folder" && nice /usr/bin/time -f '%e %U %S %M' -o "$output.time" "$@" --output "$output" \
        > /dev/null 2> "$output.log") || { echo "failed: $* (see $folder/$output.log)" >&2; return 1; }
    awk '{ printf "%.2f %.2f %.1f\n", $1, $2 + $3, $4 / 1024 }' "$folder/$output.time"
}

# The reference job's CPU seconds, or "-" without R.
reference_e() {
    if command -v Rscript >/dev/null 2>&1; then
        OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1 nice Rscript "$top/scripts/bench-reference.R"
    else
        echo "-"
    fi
}

work=$build/bench-grid
mkdir -p "$work"
echo "$(uname -n): $(nproc) cores; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
reference=$(reference_e)
echo "reference E before the grid: $reference CPU s"
echo
echo "| items | factors | N | samples | method | dispersion | threads | before wall s | before CPU s | before MiB | after wall s | after CPU s | after MiB | CPU before/after | same report |"
echo "|---:|---:|---|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---|"
if [ -n "$tsv" ]; then
    printf 'items\tfactors\tN\tsamples\tmethod\tdispersion\tthreads\tE\tbeforeWall\tbeforeCpu\tbeforeMiB\tafterWall\tafterCpu\tafterMiB\tsame\n' > "$tsv"
fi
for p in $items; do
    m=$(factors_of "$p")
    for pair in $participants; do
        nt=${pair%%:*}
        nr=${pair##*:}
        folder=$work/p$p-n$nt-$nr
        make_data "$folder" "$p" "$nt" "$nr"
        for job in $(jobs_of); do
            method=${job%%:*}
            dispersion=${job##*:}
            jobSamples=$samples
            if [ "$dispersion" = polychoric ] && [ -n "$polySamples" ]; then jobSamples=$polySamples; fi
            for b in $jobSamples; do
                for count in $threads; do
                    arguments=(--target-count "$nt" --replication-count "$nr" --items "$p" --factors "$m"
                               --samples "$b" --threads "$count" --method "$method" --dispersion "$dispersion")
                    key=$method-$dispersion-b$b-t$count
                    before="- - -"
                    same="-"
                    if [ -n "$other" ] && [ "$p" -le "$(other_limit "$method" "$dispersion")" ]; then
                        before=$(timed "$folder" "before-$key.txt" "$other" "${arguments[@]}")
                    fi
                    after=$(timed "$folder" "after-$key.txt" "$batch" "${arguments[@]}")
                    if [ "$before" != "- - -" ]; then
                        if cmp -s <(blank_clock "$folder/before-$key.txt") <(blank_clock "$folder/after-$key.txt"); then
                            same=yes
                        else
                            same=NO
                        fi
                    fi
                    read -r bw bc bm <<< "$before"
                    read -r aw ac am <<< "$after"
                    ratio=$(awk -v b="$bc" -v a="$ac" 'BEGIN { if (b == "-" || a <= 0) print "-"; else printf "%.1f x", b / a }')
                    printf '| %s | %s | %s+%s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' \
                        "$p" "$m" "$nt" "$nr" "$b" "$method" "$dispersion" "$count" "$bw" "$bc" "$bm" "$aw" "$ac" "$am" "$ratio" "$same"
                    if [ -n "$tsv" ]; then
                        printf '%s\t%s\t%s+%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' \
                            "$p" "$m" "$nt" "$nr" "$b" "$method" "$dispersion" "$count" "$reference" \
                            "$bw" "$bc" "$bm" "$aw" "$ac" "$am" "$same" >> "$tsv"
                    fi
                done
            done
        done
    done
done
echo
echo "reference E after the grid: $(reference_e) CPU s"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
