# Printing a result in the console, as compact tables in the manner of the
# factor analyses R users know: one wide matrix of both samples' loadings,
# one line per item elsewhere. format() gives the lines that print() shows.

method_label <- c(uls = "Unweighted Least Squares (ULS)", pca = "Principal Components Analysis",
                  ml = "Unrestricted Maximum Likelihood (ML)")
dispersion_label <- c(covariance = "covariances", pearson = "Pearson correlations",
                      polychoric = "polychoric (tetrachoric) correlations")

# Numbers as text with `digits` decimals, blank where NA, and "*" after
# those flagged (a blank keeps the columns aligned).
shown_numbers <- function(values, digits, flagged = NULL) {
  text <- ifelse(is.na(values), "", formatC(values, format = "f", digits = digits))
  if (!is.null(flagged)) text <- paste0(text, ifelse(!is.na(flagged) & flagged, "*", " "))
  text
}

# A character matrix as lines: a header row, right-aligned columns, row
# names on the left.
matrix_lines <- function(cells, rows, header) {
  cells <- rbind(header, cells)
  rows <- c("", rows)
  widths <- apply(nchar(cells), 2, max)
  lines <- formatC(rows, width = -max(nchar(rows)))
  for (j in seq_len(ncol(cells))) lines <- paste(lines, formatC(cells[, j], width = widths[j]))
  lines
}

frame_lines <- function(frame, digits, marks = list()) {
  cells <- lapply(names(frame), function(column) {
    values <- frame[[column]]
    if (!is.double(values)) return(ifelse(is.na(values), "", as.character(values)))
    flagged <- if (!is.null(marks[[column]])) frame[[marks[[column]]]]
    shown_numbers(values, digits, flagged)
  })
  keep <- !(names(frame) %in% unlist(marks))
  cells <- do.call(cbind, cells[keep])
  matrix_lines(cells[, -1, drop = FALSE], cells[, 1], names(frame)[keep][-1])
}

# Loadings as one matrix: items in rows, the factors of the Target sample
# and then those of the Replication sample in columns; "*" after a
# Replication loading whose interval does not overlap the Target's.
loading_lines <- function(x, digits) {
  l <- x$discriminations
  items <- unique(l$item)
  m <- max(l$factor)
  label <- if (x$details$method == "pca") "C" else "F"
  target <- matrix(shown_numbers(l$target, digits), ncol = m, byrow = TRUE)
  replication <- matrix(shown_numbers(l$replication, digits, l$significant), ncol = m, byrow = TRUE)
  header <- c(paste0("T.", label, seq_len(m)), paste0("R.", label, seq_len(m)))
  matrix_lines(cbind(target, replication), items, header)
}

index_lines <- function(x, digits) {
  families <- Filter(function(family) !is.null(x[[family]]), c("congruence", "discrepancy"))
  first <- x[[families[1]]]
  rows <- ifelse(first$level == "item", first$item,
                 ifelse(first$level == "factor", paste0("factor ", first$factor), "overall"))
  cells <- NULL
  header <- NULL
  for (family in families) {
    f <- x[[family]]
    cells <- cbind(cells, shown_numbers(f$observed, digits, f$significant), shown_numbers(f$critical, digits))
    header <- c(header, family, "critical")
  }
  matrix_lines(cells, rows, header)
}

format.talver_invariance <- function(x, digits = 2, ...) {
  d <- x$details
  lines <- c("TALVER: item measurement invariance",
             sprintf("Target: %s, %d participants; Replication: %s, %d participants; %d items", d$target,
                     d$target_count, d$replication, d$replication_count, length(d$items)))
  dropped <- c(d$target_dropped, d$replication_dropped)
  if (any(dropped > 0)) {
    lines <- c(lines, sprintf("Rows with missing values left out: %d of Target, %d of Replication", dropped[1],
                              dropped[2]))
  }
  if (!is.null(d$group) && d$group$other_rows + d$group$no_group_rows > 0) {
    lines <- c(lines, sprintf("Rows of other groups left out: %d; rows without a group value: %d",
                              d$group$other_rows, d$group$no_group_rows))
  }
  lines <- c(lines, sprintf("%d %s, %s of %s, %d bootstrap samples, alpha = %.2f%s", d$factors,
                            if (d$method == "pca") "components" else "factors", method_label[[d$method]],
                            dispersion_label[[d$dispersion]], d$samples, d$alpha,
                            if (is.null(d$seed)) "" else sprintf(", seed = %.0f", d$seed)))
  section <- function(title, body) c("", title, body)
  if (!is.null(x$difficulties)) {
    lines <- c(lines, section("Item means (* |t| or |d| at least the critical value)",
                              frame_lines(x$difficulties[c("item", "target_mean", "replication_mean", "t",
                                                           "t_significant", "d", "d_significant")], digits,
                                          list(t = "t_significant", d = "d_significant"))))
  }
  if (!is.null(x$discriminations)) {
    lines <- c(lines, section("Loadings of the Target (T) and Replication (R) samples (* intervals do not overlap)",
                              loading_lines(x, digits)))
  }
  if (!is.null(x$residual_variances)) {
    lines <- c(lines, section("Residual variances (* intervals do not overlap)",
                              frame_lines(x$residual_variances[c("item", "target", "replication", "difference",
                                                                 "significant")], digits,
                                          list(difference = "significant"))))
  }
  h <- x$hotelling
  if (!is.null(h)) {
    lines <- c(lines, "", if (is.na(h$t_square)) "Hotelling's T square: not computable (samples too small)" else
      sprintf("Hotelling's T square = %.*f, F(%d, %d) = %.*f, P = %.*f", digits + 2, h$t_square, h$df1, h$df2,
              digits + 2, h$F, digits + 3, h$P))
  }
  if (!is.null(x$congruence) || !is.null(x$discrepancy)) {
    lines <- c(lines, section("Congruence (* below critical) and discrepancy (* above critical) indices",
                              index_lines(x, digits + 1)))
  }
  for (k in seq_len(nrow(x$warnings))) {
    lines <- c(lines, "", paste0("Warning (", x$warnings$section[k], "): ", x$warnings$text[k]))
  }
  lines
}

print.talver_invariance <- function(x, digits = 2, ...) {
  cat(format(x, digits = digits, ...), sep = "\n")
  invisible(x)
}
