#!/bin/sh
# Makes the two bundled example samples again: two factors, ten five-point
# items; the Replication sample has item 3 shifted upwards.
set -e
generate=${1:?usage: make_examples.sh PATH-TO-talver-generate}
here=$(dirname "$0")
"$generate" --participants 707 --items 10 --factors 2 --categories 5 --seed 20021 > "$here/target.dat"
"$generate" --participants 335 --items 10 --factors 2 --categories 5 --seed 20022 --loading 0.65 --shift 3:0.4 > "$here/replica.dat"
# Both samples in one CSV file as a survey platform exports it: an id, an age
# and a group column, the rows of the two samples interleaved in order, and a
# few answers missing (empty cells and the code -9) in extra rows.
awk -v OFS=, '
    BEGIN { print "id", "age", "sample", "q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8", "q9", "q10" }
    FNR == 1 { file++ }
    {
        line = $1; for (i = 2; i <= NF; i++) line = line "," $i
        if (file == 1) target[++t] = line; else replica[++r] = line
    }
    END {
        i = j = id = 0
        while (i < t || j < r) {
            if (j >= r || (i < t && (i + j) % 3 != 2)) print ++id, 20 + id % 47, "original", target[++i]
            else print ++id, 20 + id % 47, "retest", replica[++j]
            if (id == 100) print ++id, 31, "original", "3,4,,2,3,4,4,3,2,3"
            if (id == 200) print ++id, 45, "retest", "2,3,4,-9,3,3,4,3,-9,3"
            if (id == 300) print ++id, 27, "original", "4,4,3,3,4,-9,3,4,3,4"
        }
    }' "$here/target.dat" "$here/replica.dat" > "$here/groups.csv"
