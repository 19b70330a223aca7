#!/bin/sh
# Writes the JSON files (and one text report) that the package's tests
# compare with: talver-batch run on the example samples. Run it again
# whenever the engine's numbers change:
#     r/tests/make_fixtures.sh [path of talver-batch]   (default build/talver-batch)
set -e
top=$(cd "$(dirname "$0")/../.." && pwd)
batch=${1:-$top/build/talver-batch}
if [ ! -x "$batch" ]; then
    echo "talver-batch not found at $batch: build it first (scripts/build.sh)" >&2
    exit 2
fi
batch=$(cd "$(dirname "$batch")" && pwd)/$(basename "$batch")
fixtures=$top/r/tests/testthat/fixtures
mkdir -p "$fixtures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top/examples/target.dat" "$top/examples/replica.dat" "$work/"
# The first five items, for the slow polychoric correlations.
cut -d' ' -f1-5 "$top/examples/target.dat" > "$work/target5.dat"
cut -d' ' -f1-5 "$top/examples/replica.dat" > "$work/replica5.dat"
cd "$work"

run() {
    name=$1
    shift
    "$batch" --samples 500 --threads 2 --output "$name.txt" --json "$fixtures/$name.json" "$@" > /dev/null 2>&1 ||
        { echo "talver-batch failed for $name" >&2; exit 1; }
}
run uls_covariance
cp uls_covariance.txt "$fixtures/uls_covariance.txt"
run uls_selected --no-difficulties --no-residual-variances --no-discrepancy
run pca_pearson --method pca --dispersion pearson --alpha 0.10 --factors 3
run ml_covariance --method ml
run polychoric_five --target target5.dat --replication replica5.dat --items 5 --dispersion polychoric
run polychoric_warning --dispersion polychoric --lowest 0 --highest 5
# One file for both samples, told apart by a group column, as questionnaires
# come: an id, the items, the school (A: Target, B: Replication, and a few
# rows of a school C that neither sample takes) and an age. Some items and
# some ages are missing; a missing age leaves its row in.
awk -v OFS=, '
    FNR == 1 && NR == 1 { printf "id,q1,q2,q3,q4,q5,q6,q7,q8,q9,q10,school,age\n" }
    {
        row = NR
        school = FNR == NR ? "A" : "B"
        if (row % 97 == 0) school = "C"
        printf "%d", row
        for (i = 1; i <= 10; i++) printf ",%s", (row % 41 == 0 && i == 3) || (row % 59 == 0 && i == 8) ? "" : $i
        printf ",%s,%s\n", school, row % 13 == 0 ? "NA" : 20 + row % 37
    }' target.dat replica.dat > grouped.csv
cp grouped.csv "$fixtures/grouped.csv"
run grouped --data grouped.csv --group school --target-group A --replication-group B --items q1-q10
echo "Fixtures written to $fixtures"
