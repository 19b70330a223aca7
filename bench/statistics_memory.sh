#!/bin/sh
# Peak memory and time of talver-batch reading statistics files of which the
# run needs a few columns: a 24 MB SPSS file and a Stata file of the same
# size with a group variable and 49 items, of which 10 are analysed, and a
# compressed SPSS file of about 160 KB that expands past the cells a table
# keeps (refused). The files are made by bench/make_statistics_files.R (R
# with haven) unless the folder holds them already. Prints, for each file,
# its size, the run's exit status, and what /usr/bin/time -v measures.
# Usage: bench/statistics_memory.sh path/to/talver-batch [folder]
set -e
batch=$1
folder=${2:-$(mktemp -d)}
here=$(dirname "$0")
[ -f "$folder/bomb.zsav" ] || Rscript "$here/make_statistics_files.R" "$folder"
for file in wide.sav wide.dta bomb.zsav; do
    status=0
    /usr/bin/time -v "$batch" --data "$folder/$file" --group group --target-group original \
        --replication-group retest --items q1-q10 --no-discriminations --no-residual-variances --no-congruence \
        --no-discrepancy --output "$folder/out-$file.txt" 2> "$folder/time-$file.txt" || status=$?
    echo "$file: $(du -k "$folder/$file" | cut -f1) KB, exit $status"
    grep -E "Maximum resident set size|Elapsed|User time|System time" "$folder/time-$file.txt"
done
