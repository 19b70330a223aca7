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
echo "Fixtures written to $fixtures"
