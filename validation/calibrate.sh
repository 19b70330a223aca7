#!/bin/sh
# Calibration study of the verdicts: how often each index of invariance flags
# a difference when the two samples come from one population (false flags,
# which should be near alpha) and when the Replication population differs in
# one loading (power).
#
#   validation/calibrate.sh --batch build/talver-batch --generate build/talver-generate \
#       --pairs 200 --samples 500 --out calibration [--jobs 1] [--configs "uls:covariance ..."]
#       [--conditions "invariant lowered"]
#
# Every pair is drawn afresh from a known population: ten five-point items of
# two factors (items 1-5 and 6-10), every loading .65; 707 Target and 335
# Replication participants. In the "lowered" condition item 3 loads .30 in
# the Replication population (its variance stays 1). Pair k uses the same
# seeds in both conditions. Each pair is analysed by one talver-batch run per
# configuration (method:dispersion) at alpha 0.05, which writes its JSON
# companion; report_flags.awk reads the flags from it. Runs already done are
# kept, so an interrupted study resumes where it stopped.
#
# Writes to the output folder: data/ (the pairs), flags/ (one file per run),
# summary.txt (per configuration, condition, index and entry: pairs flagged
# and pairs run) and table.md (the shares, per index family).
set -e
here=$(cd "$(dirname "$0")" && pwd)

if [ "$1" = "--run-one" ]; then
    # Internal: one analysis. Arguments: batch out samples config condition pair.
    batch=$2 out=$3 samples=$4 config=$5 condition=$6 pair=$7
    flags="$out/flags/$config/$condition/$pair.txt"
    [ -s "$flags" ] && exit 0
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    method=${config%%:*}
    dispersion=${config#*:}
    if ! "$batch" --target "$out/data/$condition/$pair/target.dat" --replication "$out/data/$condition/$pair/replica.dat" \
        --target-count 707 --replication-count 335 --items 10 --factors 2 --method "$method" \
        --dispersion "$dispersion" --samples "$samples" --alpha 0.05 --threads 1 \
        --output "$work/report.txt" --json "$work/report.json" > /dev/null 2> "$work/messages"; then
        echo "calibrate.sh: talver-batch failed on $config $condition pair $pair:" >&2
        cat "$work/messages" >&2
        exit 1
    fi
    mkdir -p "$(dirname "$flags")"
    awk -f "$here/report_flags.awk" "$work/report.json" > "$work/flags"
    mv "$work/flags" "$flags"
    exit 0
fi

batch="" generate="" pairs=200 samples=500 out="" jobs=1 conditions="invariant lowered"
configs="uls:covariance uls:pearson uls:polychoric pca:covariance pca:pearson ml:covariance ml:pearson"
while [ $# -gt 0 ]; do
    case $1 in
        --batch) batch=$(realpath "$2"); shift 2 ;;
        --generate) generate=$(realpath "$2"); shift 2 ;;
        --pairs) pairs=$2; shift 2 ;;
        --samples) samples=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --configs) configs=$2; shift 2 ;;
        --conditions) conditions=$2; shift 2 ;;
        *) echo "calibrate.sh: unknown argument $1 (see the head of this script)" >&2; exit 2 ;;
    esac
done
if [ ! -x "$batch" ] || [ ! -x "$generate" ] || [ -z "$out" ]; then
    echo "usage: calibrate.sh --batch TALVER-BATCH --generate TALVER-GENERATE --out FOLDER" \
         "[--pairs K] [--samples B] [--jobs N] [--configs \"method:dispersion ...\"] [--conditions \"invariant lowered\"]" >&2
    exit 2
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The pairs.
for condition in invariant lowered; do
    pair=1
    while [ "$pair" -le "$pairs" ]; do
        folder="$out/data/$condition/$pair"
        if [ ! -s "$folder/replica.dat" ]; then
            mkdir -p "$folder"
            own=""
            [ "$condition" = lowered ] && own="--item-loading 3:0.30"
            "$generate" --participants 707 --items 10 --factors 2 --categories 5 --loading 0.65 \
                --seed $((100000 + pair)) > "$folder/target.dat"
            # shellcheck disable=SC2086
            "$generate" --participants 335 --items 10 --factors 2 --categories 5 --loading 0.65 \
                --seed $((200000 + pair)) $own > "$folder/replica.dat"
        fi
        pair=$((pair + 1))
    done
done

# The analyses, jobs at a time, pair after pair: a study stopped early has
# the same number of pairs for every configuration.
pair=1
while [ "$pair" -le "$pairs" ]; do
    for config in $configs; do
        for condition in $conditions; do
            echo "$config $condition $pair"
        done
    done
    pair=$((pair + 1))
done | xargs -P "$jobs" -n 3 sh "$here/calibrate.sh" --run-one "$batch" "$out" "$samples" 2>&1 |
    sed 's/^/  /' >&2 || true

# Tallies: pairs flagged per configuration, condition, index and entry.
: > "$out/summary.txt"
for config in $configs; do
    for condition in invariant lowered; do
        pair=1
        while [ "$pair" -le "$pairs" ]; do
            file="$out/flags/$config/$condition/$pair.txt"
            [ -s "$file" ] && sed "s|^|$config $condition |" "$file"
            pair=$((pair + 1))
        done
    done
done | awk '{ key = $1 " " $2 " " $3 " " $4; runs[key]++; flagged[key] += $5 }
            END { for (key in runs) print key, flagged[key], runs[key] }' | sort -k1,1 -k2,2 -k3,3 -k4,4V \
    > "$out/summary.txt"
awk -f "$here/calibration_table.awk" -v pairs="$pairs" -v samples="$samples" -v configs="$configs" \
    "$out/summary.txt" > "$out/table.md"
cat "$out/table.md"
