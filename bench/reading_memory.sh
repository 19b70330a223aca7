#!/bin/sh
# Peak memory of talver-batch reading a large delimited file of which the run
# needs a few columns: a file of about MB megabytes (default 200) with a group
# column and 49 score columns, of which 10 are the items. Prints the file's
# size, the rows and the peak resident memory that /usr/bin/time -v measures.
# Usage: bench/reading_memory.sh path/to/talver-batch [MB] [folder]
set -e
batch=$1
megabytes=${2:-200}
folder=${3:-$(mktemp -d)}
file=$folder/wide.csv
# About 100 bytes a row: 49 one-digit scores and a group code.
rows=$((megabytes * 10000))
awk -v rows="$rows" 'BEGIN {
    srand(26)
    header = "group"
    for (j = 1; j <= 49; ++j) header = header ",q" j
    print header
    for (i = 0; i < rows; ++i) {
        line = (i % 3 ? "original" : "retest")
        for (j = 1; j <= 49; ++j) line = line "," int(1 + 5 * rand())
        print line
    }
}' > "$file"
/usr/bin/time -v "$batch" --data "$file" --group group --target-group original --replication-group retest \
    --items q1-q10 --no-discriminations --no-residual-variances --no-congruence --no-discrepancy \
    --output "$folder/out.txt" 2> "$folder/time.txt" || { cat "$folder/time.txt"; exit 1; }
echo "file: $(du -m "$file" | cut -f1) MB, $rows rows"
grep -E "Maximum resident set size|Elapsed" "$folder/time.txt"
