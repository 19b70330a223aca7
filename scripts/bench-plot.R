# Draws the CPU time of whole talver-batch runs against the number of items,
# on log-log axes, from the tables that scripts/bench-grid.sh writes with -o:
# one line for the version before, one for this one, each job of ULS on
# covariances.
#
#   Rscript scripts/bench-plot.R OUTPUT.png TABLE.tsv [TABLE.tsv ...]
arguments <- commandArgs(trailingOnly = TRUE)
if (length(arguments) < 2) {
    stop("usage: Rscript scripts/bench-plot.R OUTPUT.png TABLE.tsv [TABLE.tsv ...]")
}
rows <- do.call(rbind, lapply(arguments[-1], function(file) {
    read.delim(file, na.strings = "-", stringsAsFactors = FALSE)
}))
uls <- rows[rows$method == "uls", ]
uls <- uls[order(uls$items), ]
png(arguments[1], width = 720, height = 480, type = "cairo")
range <- range(c(uls$beforeCpu, uls$afterCpu), na.rm = TRUE)
plot(uls$items, uls$afterCpu, log = "xy", type = "b", pch = 19, col = "darkblue",
     ylim = range, xlab = "items (log scale)", ylab = "CPU seconds (log scale)", xaxt = "n",
     main = sprintf("ULS on covariances, %s participants, %d samples, %d threads",
                    uls$N[1], uls$samples[1], uls$threads[1]))
axis(1, at = uls$items)
before <- uls[!is.na(uls$beforeCpu), ]
lines(before$items, before$beforeCpu, type = "b", pch = 17, col = "darkred")
legend("topleft", legend = c("before", "after"), col = c("darkred", "darkblue"), pch = c(17, 19), lty = 1)
invisible(dev.off())
