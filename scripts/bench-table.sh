#!/bin/bash
# Prints the table of a benchmark grid as it goes into the README, from the
# tab-separated rows that scripts/bench-grid.sh writes with -o: each job's
# times before and after, its CPU time against two reference jobs E (what
# two idle cores would take against E, counted for 1000 samples), and
# whether it meets its target; then peak memory and how the CPU time grows
# with the items, per method and dispersion.
#
#   bench-table.sh TABLE.tsv
#
# Targets, on covariances and Pearson correlations: 60 items, principal
# components at most 0.75 E, ULS at most 1.5 E, ML at most twice ULS on the
# same data; 120 items, ULS at most 10 E; ULS on 10 items' covariances,
# the example job's kind, no slower than before (up to a tenth more CPU
# time, the spread of one run); every job's peak memory below 200 MB.
set -e
if [ $# -ne 1 ] || [ ! -r "$1" ]; then
    echo "usage: bench-table.sh TABLE.tsv (the -o output of scripts/bench-grid.sh)" >&2
    exit 2
fi
awk -F '\t' '
function field(name) { return $(column[name]) }
function cell(value) { return value == "" ? "-" : value }
function verdict(met) { return met ? "yes" : "NO" }
# CPU seconds per 1000 samples, so that jobs of different -s and -P compare.
function per1000(cpu, samples) { return cpu * 1000 / samples }
NR == 1 {
    for (i = 1; i <= NF; ++i) column[$i] = i
    split("items factors N samples method dispersion threads E beforeWall beforeCpu beforeMiB afterWall afterCpu afterMiB same", need, " ")
    for (i in need) if (!(need[i] in column)) {
        print "bench-table.sh: " FILENAME " has no column " need[i] "; make it again with scripts/bench-grid.sh -o" > "/dev/stderr"
        failed = 1; exit 2
    }
    next
}
{
    ++rows
    for (name in column) value[rows, name] = field(name)
    participants[field("N")]; threadCounts[field("threads")]
    job = field("method") SUBSEP field("dispersion")
    if (!(job in jobSeen)) { jobSeen[job]; jobs[++jobCount] = job }
    if (!(field("items") in itemSeen)) { itemSeen[field("items")]; itemList[++itemCount] = field("items") + 0 }
    cpu[job, field("items"), "after"] = per1000(field("afterCpu"), field("samples"))
    if (field("beforeCpu") != "-") cpu[job, field("items"), "before"] = per1000(field("beforeCpu"), field("samples"))
}
END {
    if (failed) exit 2
    n = 0; for (k in participants) ++n; t = 0; for (k in threadCounts) ++t
    if (n != 1 || t != 1) {
        print "bench-table.sh: the grid mixes participant counts or thread counts; give bench-grid.sh one -n and one -t" > "/dev/stderr"
        exit 2
    }
    for (i = 1; i < itemCount; ++i) for (j = i + 1; j <= itemCount; ++j)
        if (itemList[j] < itemList[i]) { swap = itemList[i]; itemList[i] = itemList[j]; itemList[j] = swap }
    e = value[1, "E"]
    for (k in participants) people = k
    for (k in threadCounts) threads = k
    printf "%s participants, %s threads; E = %s CPU s, timed before the grid.\n\n", people, threads, e
    print "| items | factors | method | dispersion | samples | before wall s | before CPU s | before MiB | after wall s | after CPU s | after MiB | CPU before/after | CPU / 2E | target | same report |"
    print "|---:|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|"
    largest = 0
    for (r = 1; r <= rows; ++r) {
        p = value[r, "items"]; method = value[r, "method"]; dispersion = value[r, "dispersion"]
        after = value[r, "afterCpu"]; before = value[r, "beforeCpu"]
        ratio = before == "-" || after <= 0 ? "-" : sprintf("%.1f x", before / after)
        againstE = e == "-" ? "-" : per1000(after, value[r, "samples"]) / (2 * e)
        target = ""
        if (dispersion != "polychoric") {
            if (p == 10 && method == "uls" && dispersion == "covariance" && before != "-")
                target = "no slower: " verdict(after <= 1.1 * before)
            if (e != "-" && p == 60 && method == "pca") target = "<= 0.75 E: " verdict(againstE <= 0.75)
            if (e != "-" && p == 60 && method == "uls") target = "<= 1.5 E: " verdict(againstE <= 1.5)
            if (e != "-" && p == 120 && method == "uls") target = "<= 10 E: " verdict(againstE <= 10)
            uls = cpu["uls" SUBSEP dispersion, p, "after"]
            if (p == 60 && method == "ml" && uls > 0) {
                times = cpu["ml" SUBSEP dispersion, p, "after"] / uls
                target = sprintf("<= 2 ULS: %s (%.1f x)", verdict(times <= 2), times)
            }
        }
        if (value[r, "afterMiB"] >= 200e6 / 1048576) target = target (target == "" ? "" : "; ") "memory: NO"
        if (value[r, "afterMiB"] > largest) largest = value[r, "afterMiB"]
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", p, value[r, "factors"],
            method, dispersion, value[r, "samples"], value[r, "beforeWall"], before, value[r, "beforeMiB"],
            value[r, "afterWall"], after, value[r, "afterMiB"], ratio,
            againstE == "-" ? "-" : sprintf("%.2f", againstE), cell(target), value[r, "same"]
    }
    printf "\nPeak memory: at most %.1f MiB after (the target: below 200 MB, 190.7 MiB).\n\n", largest
    header = "| method | dispersion |"; rule = "|---|---|"
    for (i = 2; i <= itemCount; ++i) { header = header " p^k, " itemList[i - 1] " to " itemList[i] " items |"; rule = rule "---:|" }
    print "CPU time growing as p^k with the items p (before in brackets, where timed):"
    print ""
    print header; print rule
    for (k = 1; k <= jobCount; ++k) {
        split(jobs[k], part, SUBSEP)
        line = "| " part[1] " | " part[2] " |"
        for (i = 2; i <= itemCount; ++i) {
            line = line " " exponent(jobs[k], itemList[i - 1], itemList[i], "after")
            earlier = exponent(jobs[k], itemList[i - 1], itemList[i], "before")
            line = line (earlier == "-" ? "" : " (" earlier ")") " |"
        }
        print line
    }
}
function exponent(job, from, to, version) {
    if (!((job, from, version) in cpu) || !((job, to, version) in cpu)) return "-"
    if (cpu[job, from, version] <= 0 || cpu[job, to, version] <= 0) return "-"
    return sprintf("%.1f", log(cpu[job, to, version] / cpu[job, from, version]) / log(to / from))
}
' "$1"
