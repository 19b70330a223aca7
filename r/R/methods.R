# The methods R users reach for first: coef(), confint(), nobs() and
# as.data.frame() of a result.

# The rotated loadings as a matrix, items in rows, the Target sample's
# factors and then the Replication sample's in columns; or the residual
# variances, one column per sample.
coef.talver_invariance <- function(object, which = c("loadings", "residual_variances"), ...) {
  which <- match.arg(which)
  frame <- object[[if (which == "loadings") "discriminations" else "residual_variances"]]
  if (is.null(frame)) {
    refuse("This result has no ", sub("_", " ", which), "; run talver_invariance() with them among its outputs.",
           kind = "talver_no_table")
  }
  items <- unique(frame$item)
  m <- if (which == "loadings") max(frame$factor) else 1
  label <- if (which == "loadings") paste0(if (object$details$method == "pca") "C" else "F", seq_len(m)) else ""
  values <- cbind(matrix(frame$target, ncol = m, byrow = TRUE), matrix(frame$replication, ncol = m, byrow = TRUE))
  dimnames(values) <- list(items, paste0(rep(c("target", "replication"), each = m),
                                         if (which == "loadings") paste0(".", label) else ""))
  values
}

# The bias-corrected bootstrap intervals of the loadings (or residual
# variances), one row per item, factor and sample, named as coef()'s
# entries. Their level is fixed by the call's alpha.
confint.talver_invariance <- function(object, parm, level = 1 - object$details$alpha,
                                      which = c("loadings", "residual_variances"), ...) {
  which <- match.arg(which)
  if (!is.numeric(level) || length(level) != 1 || abs(level - (1 - object$details$alpha)) > 1e-9) {
    refuse("The intervals were formed at the level 1 - alpha = ", 1 - object$details$alpha, " of the call; ",
           "run talver_invariance() with alpha = ", 1 - level, " for other ones (0.05 or 0.10).")
  }
  coefficients <- coef(object, which)
  frame <- object[[if (which == "loadings") "discriminations" else "residual_variances"]]
  m <- ncol(coefficients) / 2
  lower <- cbind(matrix(frame$target_lower, ncol = m, byrow = TRUE),
                 matrix(frame$replication_lower, ncol = m, byrow = TRUE))
  upper <- cbind(matrix(frame$target_upper, ncol = m, byrow = TRUE),
                 matrix(frame$replication_upper, ncol = m, byrow = TRUE))
  names <- outer(rownames(coefficients), colnames(coefficients), paste, sep = ":")
  tails <- c((1 - level) / 2, 1 - (1 - level) / 2)
  intervals <- cbind(as.vector(lower), as.vector(upper))
  dimnames(intervals) <- list(as.vector(names), paste(format(100 * tails, trim = TRUE), "%"))
  if (!missing(parm)) intervals <- intervals[parm, , drop = FALSE]
  intervals
}

# The participants analysed in each sample.
nobs.talver_invariance <- function(object, ...) {
  c(target = object$details$target_count, replication = object$details$replication_count)
}

# Every table of the result in one long table: a `table` column names it
# ("difficulties", "discriminations", ...), the other columns are the
# tables' own, NA where a table has no such column.
as.data.frame.talver_invariance <- function(x, row.names = NULL, optional = FALSE, ...) {
  present <- Filter(function(table) !is.null(x[[table]]), names(result_tables))
  frames <- lapply(present, function(table) cbind(table = table, x[[table]], stringsAsFactors = FALSE))
  columns <- unique(unlist(lapply(frames, names)))
  filled <- lapply(frames, function(frame) {
    for (column in setdiff(columns, names(frame))) frame[[column]] <- NA
    frame[columns]
  })
  whole <- do.call(rbind, filled)
  rownames(whole) <- row.names
  whole
}
