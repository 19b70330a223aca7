#!/bin/sh
# The calibration study in small, as a test: 30 pairs of samples per
# condition and B = 500 for the configurations that run fast enough for CI
# (ULS and PCA, covariances and Pearson correlations). Fails when any index
# flags more than 20 % of the pairs drawn from one population, or when the
# item whose loading is lowered in the Replication population (item 3) is
# flagged by its loading difference in fewer than 70 % of the pairs, for the
# configurations expected to find it (PCA with covariances is left out of
# that check: its critical values follow the Replication's larger unique
# variance and it has little power against that change).
#   check_calibration.sh TALVER-BATCH TALVER-GENERATE WORK-FOLDER
set -e
here=$(cd "$(dirname "$0")" && pwd)
batch=${1:?usage: check_calibration.sh TALVER-BATCH TALVER-GENERATE WORK-FOLDER}
generate=${2:?usage: check_calibration.sh TALVER-BATCH TALVER-GENERATE WORK-FOLDER}
work=${3:?usage: check_calibration.sh TALVER-BATCH TALVER-GENERATE WORK-FOLDER}
rm -rf "$work"
sh "$here/calibrate.sh" --batch "$batch" --generate "$generate" --pairs 30 --samples 500 --out "$work" --jobs 2 \
    --configs "uls:covariance uls:pearson pca:covariance pca:pearson" > /dev/null
awk -v powered="uls:covariance uls:pearson pca:pearson" '
    BEGIN { n = split(powered, list, " "); for (i = 1; i <= n; i++) expect[list[i]] = 1 }
    { runs[$1] = $6 > runs[$1] ? $6 : runs[$1] }
    $2 == "invariant" && $5 > 0.2 * $6 {
        printf "%s: %s %s flagged in %d of %d pairs drawn from one population\n", $1, $3, $4, $5, $6
        failed = 1
    }
    $2 == "lowered" && $3 == "loading-item" && $4 == 3 {
        found[$1] = 1
        if (($1 in expect) && $5 < 0.7 * $6) {
            printf "%s: the lowered item 3 flagged by its loading difference in only %d of %d pairs\n", $1, $5, $6
            failed = 1
        }
    }
    END {
        for (c in expect) if (!(c in found) || runs[c] < 30) { printf "%s: runs missing\n", c; failed = 1 }
        exit failed
    }' "$work/summary.txt"
cat "$work/table.md"
