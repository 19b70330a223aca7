#!/bin/bash
# scripts/bench-table.sh on a made-up grid whose figures are known: CPU times
# that grow exactly as p^3 (ULS) and p^2 (principal components) must give
# those exponents, the targets must fall on the right side of their bounds,
# polychoric jobs of 500 samples count twice against E, and grids it cannot
# summarise are refused with a message.
#
#   bench_table_test.sh SOURCE-FOLDER WORK-FOLDER
set -e
table=$1/scripts/bench-table.sh
work=$2
mkdir -p "$work"
failures=0
expect() {
    if ! grep -qF -- "$2" "$3"; then
        echo "FAILED: $1: no line with \"$2\" in $3:" >&2
        cat "$3" >&2
        failures=$((failures + 1))
    fi
}
header='items\tfactors\tN\tsamples\tmethod\tdispersion\tthreads\tE\tbeforeWall\tbeforeCpu\tbeforeMiB\tafterWall\tafterCpu\tafterMiB\tsame\n'
row() { printf '%s\t%s\t2000+1500\t%s\t%s\t%s\t2\t2.00\t%s\t%s\t%s\t1.00\t%s\t%s\tNO\n' "$@"; }
{
    printf '%b' "$header"
    # items factors samples method dispersion beforeWall beforeCpu beforeMiB afterCpu afterMiB
    row 10 2 1000 uls covariance 1.00 0.0125 8.0 0.0137 8.0  # under a tenth slower: the spread
    row 10 2 1000 pca covariance 1.00 0.0760 8.0 0.0833 8.0
    row 10 2 1000 uls pearson 1.00 0.40 8.0 0.45 8.0         # no target: not the example job
    row 30 3 1000 uls covariance 2.00 0.3375 9.0 0.3375 9.0
    row 30 3 1000 pca covariance - - - 0.75 9.0
    row 60 6 1000 uls covariance - - - 2.70 20.0             # 0.675 E
    row 60 6 1000 pca covariance - - - 3.00 20.0             # 0.75 E, on the bound
    row 60 6 1000 ml covariance - - - 5.41 20.0              # 2.004 times ULS
    row 60 6 1000 uls pearson - - - 6.04 20.0                # 1.51 E
    row 60 6 1000 ml pearson - - - 12.0 20.0                 # 1.99 times ULS
    row 60 6 500 uls polychoric - - - 4.00 191.0             # 2 E for 1000 samples; 200.3 MB
    row 120 8 1000 uls covariance - - - 21.6 40.0            # p^3 from 60: 5.4 E
} > "$work/grid.tsv"
"$table" "$work/grid.tsv" > "$work/table.md"
expect "under a tenth more is no slower" "| 10 | 2 | uls | covariance | 1000 | 1.00 | 0.0125 | 8.0 | 1.00 | 0.0137 | 8.0 | 0.9 x | 0.00 | no slower: yes | NO |" "$work/table.md"
expect "principal components: no target" "| pca | covariance | 1000 | 1.00 | 0.0760 | 8.0 | 1.00 | 0.0833 | 8.0 | 0.9 x | 0.02 | - |" "$work/table.md"
expect "Pearson: no target" "| uls | pearson | 1000 | 1.00 | 0.40 | 8.0 | 1.00 | 0.45 | 8.0 | 0.9 x | 0.11 | - |" "$work/table.md"
expect "ULS below 1.5 E" "| 0.68 | <= 1.5 E: yes |" "$work/table.md"
expect "principal components on 0.75 E" "| 0.75 | <= 0.75 E: yes |" "$work/table.md"
expect "ML just above twice ULS" "| <= 2 ULS: NO (2.0 x) |" "$work/table.md"
expect "ULS on Pearson above 1.5 E" "| 1.51 | <= 1.5 E: NO |" "$work/table.md"
expect "ML just below twice ULS" "| <= 2 ULS: yes (2.0 x) |" "$work/table.md"
expect "polychoric: no target, 500 samples count twice, memory over" "| 500 | - | - | - | 1.00 | 4.00 | 191.0 | - | 2.00 | memory: NO |" "$work/table.md"
expect "ULS at 120 items" "| 5.40 | <= 10 E: yes |" "$work/table.md"
expect "largest peak memory" "at most 191.0 MiB" "$work/table.md"
expect "exponents of ULS" "| uls | covariance | 2.9 (3.0) | 3.0 | 3.0 |" "$work/table.md"
expect "exponents of principal components" "| pca | covariance | 2.0 | 2.0 | - |" "$work/table.md"

{ printf '%b' "$header"; row 10 2 1000 uls covariance 1.00 0.40 8.0 0.45 8.0; } > "$work/slower.tsv"
"$table" "$work/slower.tsv" > "$work/slower.md"
expect "more is slower" "| 0.45 | 8.0 | 0.9 x | 0.11 | no slower: NO |" "$work/slower.md"

refused() {
    if "$table" "$work/bad.tsv" > /dev/null 2> "$work/bad.err"; then
        echo "FAILED: $1 was summarised" >&2
        failures=$((failures + 1))
    else
        expect "$1" "$2" "$work/bad.err"
    fi
}
{ printf '%b' "$header"; row 10 2 1000 uls covariance - - - 0.4 8.0; row 10 2 1000 pca covariance - - - 0.4 8.0 | sed 's/\t2\t2.00/\t1\t2.00/'; } > "$work/bad.tsv"
refused "two thread counts" "give bench-grid.sh one -n and one -t"
printf 'items\tmethod\n10\tuls\n' > "$work/bad.tsv"
refused "an old table" "has no column"
exit $((failures > 0))
