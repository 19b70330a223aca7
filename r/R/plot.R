# Base graphics of a result: the loadings of both samples with their
# intervals, and the item indices against their critical values.
plot.talver_invariance <- function(x, which = c("loadings", "indices"), ...) {
  which <- if (identical(which, c("loadings", "indices"))) which else {
    if (!is.character(which) || !all(which %in% c("loadings", "indices"))) {
      refuse("which must name \"loadings\", \"indices\" or both.")
    }
    unique(which)
  }
  panels <- list()
  if ("loadings" %in% which) {
    if (is.null(x$discriminations)) {
      refuse("This result has no item discriminations to plot; run talver_invariance() with ",
             "\"discriminations\" among its outputs, or plot which = \"indices\".")
    }
    for (f in sort(unique(x$discriminations$factor))) {
      panels[[length(panels) + 1]] <- list(kind = "loadings", factor = f)
    }
  }
  if ("indices" %in% which) {
    families <- Filter(function(family) !is.null(x[[family]]), c("congruence", "discrepancy"))
    if (length(families) == 0) {
      refuse("This result has no congruence or discrepancy indices to plot; run talver_invariance() with ",
             "\"congruence\" or \"discrepancy\" among its outputs, or plot which = \"loadings\".")
    }
    for (family in families) panels[[length(panels) + 1]] <- list(kind = "indices", family = family)
  }
  if (length(panels) > 1) {
    old <- graphics::par(mfrow = grDevices::n2mfrow(length(panels)))
    on.exit(graphics::par(old))
  }
  for (panel in panels) {
    if (panel$kind == "loadings") plot_loadings(x, panel$factor, ...) else plot_indices(x, panel$family, ...)
  }
  invisible(x)
}

sample_colours <- c(target = "#1b6ca8", replication = "#d1495b")

plot_loadings <- function(x, factor, ...) {
  rows <- x$discriminations[x$discriminations$factor == factor, ]
  p <- nrow(rows)
  at <- seq_len(p)
  limits <- range(unlist(rows[c("target_lower", "target_upper", "replication_lower", "replication_upper",
                                "target", "replication")]), 0, na.rm = TRUE)
  label <- if (x$details$method == "pca") "Component" else "Factor"
  graphics::plot(NA, xlim = c(0.5, p + 0.5), ylim = limits, xaxt = "n", xlab = "Item", ylab = "Loading",
                 main = paste(label, factor), ...)
  graphics::axis(1, at = at, labels = rows$item)
  graphics::abline(h = 0, col = "grey80")
  offset <- 0.12
  for (side in c("target", "replication")) {
    shift <- if (side == "target") -offset else offset
    graphics::segments(at + shift, rows[[paste0(side, "_lower")]], at + shift, rows[[paste0(side, "_upper")]],
                       col = sample_colours[[side]], lwd = 2)
    graphics::points(at + shift, rows[[side]], pch = 19, col = sample_colours[[side]])
  }
  flagged <- at[!is.na(rows$significant) & rows$significant]
  if (length(flagged) > 0) graphics::mtext("**", side = 3, at = flagged, line = 0.1)
  graphics::legend("bottomright", legend = c("Target", "Replication"), col = sample_colours, pch = 19, lwd = 2,
                   bty = "n", cex = 0.8)
}

plot_indices <- function(x, family, ...) {
  rows <- x[[family]][x[[family]]$level == "item", ]
  at <- seq_len(nrow(rows))
  limits <- range(c(rows$observed, rows$critical), na.rm = TRUE)
  title <- if (family == "congruence") "Item congruence (** below critical)" else
    "Item discrepancy (** above critical)"
  graphics::plot(at, rows$observed, ylim = limits, xaxt = "n", pch = 19, xlab = "Item",
                 ylab = if (family == "congruence") "Congruence" else "Discrepancy", main = title, ...)
  graphics::axis(1, at = at, labels = rows$item)
  graphics::segments(at - 0.3, rows$critical, at + 0.3, rows$critical, col = "#d1495b", lwd = 2)
  flagged <- at[!is.na(rows$significant) & rows$significant]
  if (length(flagged) > 0) graphics::mtext("**", side = 3, at = flagged, line = 0.1)
  graphics::legend("bottomright", legend = c("observed", "critical value"), pch = c(19, NA), lty = c(NA, 1),
                   lwd = c(NA, 2), col = c("black", "#d1495b"), bty = "n", cex = 0.8)
}
