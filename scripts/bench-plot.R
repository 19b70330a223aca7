# Draws the CPU time of whole talver-batch runs against the number of items,
# on log-log axes, from the tables that scripts/bench-grid.sh writes with -o:
# for each method on covariances one line for this version (solid) and one
# for the version before (dashed, where it was timed), in CPU seconds per
# 1000 samples.
#
#   Rscript scripts/bench-plot.R OUTPUT.png TABLE.tsv [TABLE.tsv ...]
arguments <- commandArgs(trailingOnly = TRUE)
if (length(arguments) < 2) {
    stop("usage: Rscript scripts/bench-plot.R OUTPUT.png TABLE.tsv [TABLE.tsv ...]")
}
rows <- do.call(rbind, lapply(arguments[-1], function(file) {
    read.delim(file, na.strings = "-", stringsAsFactors = FALSE)
}))
if (is.null(rows$dispersion)) {
    stop("the table has no dispersion column: make it again with scripts/bench-grid.sh -o")
}
rows <- rows[rows$dispersion == "covariance", ]
rows <- rows[order(rows$items), ]
rows$afterCpu <- rows$afterCpu * 1000 / rows$samples
rows$beforeCpu <- rows$beforeCpu * 1000 / rows$samples
methods <- intersect(c("uls", "pca", "ml"), rows$method)
colours <- c(uls = "darkblue", pca = "darkgreen", ml = "darkred")
png(arguments[1], width = 720, height = 480, type = "cairo")
range <- range(c(rows$beforeCpu, rows$afterCpu), na.rm = TRUE)
plot(NA, log = "xy", xlim = range(rows$items), ylim = range, xaxt = "n",
     xlab = "items (log scale)", ylab = "CPU seconds per 1000 samples (log scale)",
     main = sprintf("Covariances, %s participants, %d threads", rows$N[1], rows$threads[1]))
axis(1, at = unique(rows$items))
for (method in methods) {
    jobs <- rows[rows$method == method, ]
    lines(jobs$items, jobs$afterCpu, type = "b", pch = 19, col = colours[[method]])
    before <- jobs[!is.na(jobs$beforeCpu), ]
    lines(before$items, before$beforeCpu, type = "b", pch = 17, lty = 2, col = colours[[method]])
}
legend("topleft", legend = c(paste(toupper(methods), "after"), "before (dashed)"),
       col = c(colours[methods], "grey40"), pch = c(rep(19, length(methods)), 17),
       lty = c(rep(1, length(methods)), 2))
invisible(dev.off())
