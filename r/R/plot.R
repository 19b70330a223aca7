# Base graphics of a result, one chart per page: the item means, the
# loadings of each factor and the residual variances of both samples with
# their intervals, and the item indices against their critical values.
# Every item is labelled below its point, the labels of items that differ
# significantly are marked with "*" and drawn in the Replication colour, and
# the legend sits above the plotting region, outside the data.

chart_names <- c("means", "loadings", "residual_variances", "congruence", "discrepancy")

plot.talver_invariance <- function(x, which = NULL, ask = NULL, ...) {
  available <- chart_names[vapply(c("difficulties", "discriminations", "residual_variances", "congruence",
                                    "discrepancy"), function(table) !is.null(x[[table]]), logical(1))]
  if (length(available) == 0) {
    refuse("This result has no table to plot: every analysis ended with a warning or was left out.",
           kind = "talver_no_table")
  }
  if (is.null(which)) {
    which <- if ("loadings" %in% available) "loadings" else available[1]
  }
  if (identical(which, "all")) which <- available
  if (!is.character(which) || anyNA(which) || !all(which %in% chart_names)) {
    refuse("which must name charts among ", paste0('"', chart_names, '"', collapse = ", "), ", or be \"all\".",
           kind = "talver_argument")
  }
  missing_charts <- setdiff(which, available)
  if (length(missing_charts) > 0) {
    refuse("This result has no ", paste0('"', missing_charts, '"', collapse = ", "), " to plot; it has ",
           paste0('"', available, '"', collapse = ", "), ". Run talver_invariance() with the analysis among its ",
           "outputs.", kind = "talver_no_table")
  }
  charts <- list()
  for (chart in unique(which)) {
    if (chart == "loadings") {
      for (f in sort(unique(x$discriminations$factor))) charts[[length(charts) + 1]] <- list(chart, f)
    } else {
      charts[[length(charts) + 1]] <- list(chart, NA)
    }
  }
  if (is.null(ask)) ask <- length(charts) > 1 && grDevices::dev.interactive()
  if (ask) {
    old_ask <- grDevices::devAskNewPage(TRUE)
    on.exit(grDevices::devAskNewPage(old_ask), add = TRUE)
  }
  for (chart in charts) {
    switch(chart[[1]],
           means = plot_means(x, ...),
           loadings = plot_loadings(x, chart[[2]], ...),
           residual_variances = plot_residual_variances(x, ...),
           plot_indices(x, chart[[1]], ...))
  }
  invisible(x)
}

sample_colours <- c(target = "#1b6ca8", replication = "#d1495b")

# Room below the plot for the item labels, turned upright, at a size that
# lets every one of them show.
label_size <- function(p) min(1, max(0.45, 30 / p))

item_frame <- function(items, flagged, limits, ylab, main, ...) {
  p <- length(items)
  size <- label_size(p)
  labels <- paste0(items, ifelse(flagged, "*", ""))
  old <- graphics::par(mar = c(1.5 + 0.55 * size * max(nchar(labels)) + 1.5, 4.1, 5.1, 1.1))
  graphics::plot(NA, xlim = c(0.5, p + 0.5), ylim = limits, xaxt = "n", xlab = "", ylab = ylab, main = main,
                 ...)
  graphics::axis(1, at = seq_len(p), labels = FALSE, tcl = -0.3)
  graphics::mtext(labels, side = 1, at = seq_len(p), line = 0.6, las = 2, cex = size,
                  col = ifelse(flagged, sample_colours[["replication"]], "black"),
                  font = ifelse(flagged, 2, 1))
  graphics::mtext("Item (* differs significantly)", side = 1, line = graphics::par("mar")[1] - 1.2, cex = 0.8)
  old
}

# The legend in one row between the title and the plotting region.
top_legend <- function(...) {
  usr <- graphics::par("usr")
  graphics::legend(x = mean(usr[1:2]), y = usr[4], xjust = 0.5, yjust = 0, horiz = TRUE, xpd = NA, bty = "n",
                   cex = 0.8, ...)
}

# Values of both samples side by side with their intervals.
interval_chart <- function(items, values, flagged, ylab, main, ...) {
  limits <- range(unlist(values), na.rm = TRUE)
  if (ylab == "Loading") limits <- range(limits, 0)
  old <- item_frame(items, flagged, limits, ylab, main, ...)
  on.exit(graphics::par(old))
  if (ylab == "Loading") graphics::abline(h = 0, col = "grey80")
  at <- seq_along(items)
  offset <- min(0.2, 0.3 * 12 / max(12, length(items)))
  for (side in c("target", "replication")) {
    shift <- if (side == "target") -offset else offset
    v <- values[[side]]
    if (!is.null(v$lower)) {
      graphics::segments(at + shift, v$lower, at + shift, v$upper, col = sample_colours[[side]], lwd = 2)
    }
    graphics::points(at + shift, v$value, pch = 19, col = sample_colours[[side]], cex = 0.9)
  }
  top_legend(legend = c("Target", "Replication"), col = sample_colours, pch = 19, lwd = 2)
}

side_values <- function(frame, value_column = NULL) {
  lapply(c(target = "target", replication = "replication"), function(side) {
    list(value = frame[[if (is.null(value_column)) side else paste0(side, value_column)]],
         lower = frame[[paste0(side, "_lower")]], upper = frame[[paste0(side, "_upper")]])
  })
}

plot_means <- function(x, ...) {
  rows <- x$difficulties
  interval_chart(rows$item, side_values(rows, "_mean"), !is.na(rows$t_significant) & rows$t_significant,
                 "Mean", "Item means", ...)
}

plot_loadings <- function(x, factor, ...) {
  rows <- x$discriminations[x$discriminations$factor == factor, ]
  label <- if (x$details$method == "pca") "Component" else "Factor"
  interval_chart(rows$item, side_values(rows), !is.na(rows$significant) & rows$significant, "Loading",
                 paste(label, factor, "loadings"), ...)
}

plot_residual_variances <- function(x, ...) {
  rows <- x$residual_variances
  interval_chart(rows$item, side_values(rows), !is.na(rows$significant) & rows$significant, "Residual variance",
                 "Residual variances", ...)
}

plot_indices <- function(x, family, ...) {
  rows <- x[[family]][x[[family]]$level == "item", ]
  at <- seq_len(nrow(rows))
  flagged <- !is.na(rows$significant) & rows$significant
  title <- if (family == "congruence") "Item congruence (* below critical)" else
    "Item discrepancy (* above critical)"
  old <- item_frame(rows$item, flagged, range(c(rows$observed, rows$critical), na.rm = TRUE),
                    if (family == "congruence") "Congruence" else "Discrepancy", title, ...)
  on.exit(graphics::par(old))
  graphics::segments(at - 0.3, rows$critical, at + 0.3, rows$critical, col = sample_colours[["replication"]],
                     lwd = 2)
  graphics::points(at, rows$observed, pch = 19)
  top_legend(legend = c("observed", "critical value"), pch = c(19, NA), lty = c(NA, 1), lwd = c(NA, 2),
             col = c("black", sample_colours[["replication"]]))
}
