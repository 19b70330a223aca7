# Reads the JSON companion of one talver-batch report and prints one line per
# index of invariance: "<index> <entry> <flag>", flag 1 when the report marks
# a significant difference. Indices: t and d (per item), hotelling (P below
# alpha), loading (item:factor), residual (item), and congruence/discrepancy
# per item, per factor and overall; and, for the power of each family
# against one item, loading-item (any loading of the item) and
# congruence-anyfactor, discrepancy-anyfactor (any factor). Relies on the one-field-per-line layout
# of the JSON that talver-batch writes.
function value(line) {
    sub(/^[^:]*: */, "", line)
    sub(/,$/, "", line)
    return line
}
/"alpha":/ && alpha == "" { alpha = value($0) + 0 }
/"itemDifficulties":/ { section = "difficulty" }
/"itemDiscriminations":/ { section = "discrimination" }
/"itemResidualVariances":/ { section = "residual" }
/"hotellingTSquare":/ { section = "hotelling" }
/"invarianceIndices":/ { section = "indices" }
/"warnings":/ { section = "" }
/"differences":/ { differences = 1 }
/"(target|replication)":/ { differences = 0 }
/"congruence":/ && section == "indices" { family = "congruence" }
/"discrepancy":/ && section == "indices" { family = "discrepancy" }
/"items":/ { level = "item" }
/"factors":/ { level = "factor" }
/"overall":/ { level = "overall" }
/"item":/ { item = value($0) }
/"factor":/ { factor = value($0) }
/"tSignificant":/ && section == "difficulty" { print "t", item, (value($0) == "true") }
/"dSignificant":/ && section == "difficulty" { print "d", item, (value($0) == "true") }
/"P":/ && section == "hotelling" { print "hotelling", 1, (value($0) + 0 < alpha) }
/"significant":/ {
    flag = (value($0) == "true")
    if (section == "discrimination" && differences) {
        print "loading", item ":" factor, flag
        anyLoading[item] = anyLoading[item] || flag
        items = item > items ? item : items
    }
    else if (section == "residual" && differences) print "residual", item, flag
    else if (section == "indices" && level == "item") print family "-item", item, flag
    else if (section == "indices" && level == "factor") {
        print family "-factor", factor, flag
        anyFactor[family] = anyFactor[family] || flag
        seen[family] = 1
    }
    else if (section == "indices" && level == "overall") print family "-overall", 1, flag
}
END {
    for (i = 1; i <= items; i++) print "loading-item", i, anyLoading[i] + 0
    for (f in seen) print f "-anyfactor", 1, anyFactor[f] + 0
}
