# Turns the tallies of calibrate.sh (lines "config condition index entry
# flagged runs") into one Markdown table per configuration: per index family
# the share of pairs flagged under invariance (mean and largest over the
# family's entries) and, with item 3 lowered in the Replication, the share
# flagging item 3 (or any factor, or the whole matrix).
{
    key = $1 SUBSEP $2 SUBSEP $3
    share = $6 > 0 ? $5 / $6 : 0
    if (!(key in count)) { count[key] = 0; sum[key] = 0; largest[key] = 0 }
    count[key]++; sum[key] += share
    if (share > largest[key]) largest[key] = share
    at[$1 SUBSEP $2 SUBSEP $3 SUBSEP $4] = share
    if ($6 > runs[$1 SUBSEP $2]) runs[$1 SUBSEP $2] = $6
}
function pct(x) { return sprintf("%5.1f", 100 * x) }
function row(config, label, idx, entry, falseIdx,    inv, low) {
    inv = config SUBSEP "invariant" SUBSEP falseIdx
    low = config SUBSEP "lowered" SUBSEP idx SUBSEP entry
    printf "| %-34s | %s | %s | %s |\n", label,
        (inv in count) ? pct(sum[inv] / count[inv]) : "    -",
        (inv in count) ? pct(largest[inv]) : "    -",
        (low in at) ? pct(at[low]) : "    -"
}
END {
    count_configs = split(configs, order, " ")
    printf "Pairs per condition: %d (runs completed shown per table); bootstrap samples: %d; alpha 0.05.\n", pairs, samples
    for (c = 1; c <= count_configs; c++) {
        config = order[c]
        printf "\n### %s (invariant: %d runs, lowered: %d runs)\n\n", config, runs[config SUBSEP "invariant"], \
            runs[config SUBSEP "lowered"]
        print "| index                              | invariant: mean % | invariant: max % | item 3 lowered: flagged % |"
        print "|------------------------------------|------:|------:|------:|"
        row(config, "Student's t (per item)", "t", 3, "t")
        row(config, "Cohen's d (per item)", "d", 3, "d")
        row(config, "Hotelling's T square", "hotelling", 1, "hotelling")
        row(config, "loading difference (per loading)", "loading-item", 3, "loading")
        row(config, "residual variance difference", "residual", 3, "residual")
        row(config, "congruence per item", "congruence-item", 3, "congruence-item")
        row(config, "congruence per factor (any factor)", "congruence-anyfactor", 1, "congruence-factor")
        row(config, "congruence overall", "congruence-overall", 1, "congruence-overall")
        row(config, "discrepancy per item", "discrepancy-item", 3, "discrepancy-item")
        row(config, "discrepancy per factor (any factor)", "discrepancy-anyfactor", 1, "discrepancy-factor")
        row(config, "discrepancy overall", "discrepancy-overall", 1, "discrepancy-overall")
    }
}
