# summary(): the result on one page, the counts of items that differ and the overall tests.
summary.talver_invariance <- function(object, ...) {
  count <- function(frame, column) if (is.null(frame)) NA_integer_ else sum(frame[[column]], na.rm = TRUE)
  overall <- function(frame) {
    if (is.null(frame)) NULL else frame[frame$level == "overall", c("observed", "critical", "significant")]
  }
  flagged_items <- function(frame) {
    if (is.null(frame)) character() else frame$item[frame$level == "item" & frame$significant]
  }
  structure(list(details = object$details,
                 differing = data.frame(
                   analysis = c("item means (t)", "effect sizes (d)", "loadings", "residual variances",
                                "item congruences", "item discrepancies"),
                   significant = c(count(object$difficulties, "t_significant"),
                                   count(object$difficulties, "d_significant"),
                                   count(object$discriminations, "significant"),
                                   count(object$residual_variances, "significant"),
                                   count(object$congruence[object$congruence$level == "item", ], "significant"),
                                   count(object$discrepancy[object$discrepancy$level == "item", ], "significant")),
                   of = c(rep(if (is.null(object$difficulties)) NA_integer_ else nrow(object$difficulties), 2),
                          if (is.null(object$discriminations)) NA_integer_ else nrow(object$discriminations),
                          if (is.null(object$residual_variances)) NA_integer_ else nrow(object$residual_variances),
                          rep(length(object$details$items), 2)),
                   stringsAsFactors = FALSE),
                 hotelling = object$hotelling,
                 congruence = overall(object$congruence), discrepancy = overall(object$discrepancy),
                 flagged = union(flagged_items(object$congruence), flagged_items(object$discrepancy)),
                 warnings = object$warnings),
            class = "summary.talver_invariance")
}

print.summary.talver_invariance <- function(x, ...) {
  d <- x$details
  cat(sprintf("TALVER: %d items, %d %s (%s, %s), %d bootstrap samples, alpha = %.2f\n", length(d$items),
              d$factors, if (d$method == "pca") "components" else "factors", toupper(d$method), d$dispersion,
              d$samples, d$alpha))
  shown <- x$differing[!is.na(x$differing$significant), ]
  if (nrow(shown) > 0) {
    cat("\nSignificant differences between the samples:\n")
    print(shown, row.names = FALSE)
  }
  if (!is.null(x$hotelling) && !is.na(x$hotelling$t_square)) {
    cat(sprintf("\nHotelling's T square = %.4f, F(%d, %d) = %.4f, P = %.5f\n", x$hotelling$t_square,
                x$hotelling$df1, x$hotelling$df2, x$hotelling$F, x$hotelling$P))
  }
  for (family in c("congruence", "discrepancy")) {
    o <- x[[family]]
    if (!is.null(o)) {
      cat(sprintf("Overall %s: %.4f (critical value %.4f)%s\n", family, o$observed, o$critical,
                  if (isTRUE(o$significant)) ", significant" else ""))
    }
  }
  if (length(x$flagged) > 0) {
    cat("Items whose indices differ significantly:", paste(x$flagged, collapse = ", "), "\n")
  }
  if (nrow(x$warnings) > 0) {
    cat("Warnings:", paste0(x$warnings$section, ": ", x$warnings$text, collapse = "; "), "\n")
  }
  invisible(x)
}
