# Printing and summarising a result in the console.

method_label <- c(uls = "Unweighted Least Squares (ULS)", pca = "Principal Components Analysis",
                  ml = "Unrestricted Maximum Likelihood (ML)")
dispersion_label <- c(covariance = "covariances", pearson = "Pearson correlations",
                      polychoric = "polychoric (tetrachoric) correlations")

# A table as text: numbers rounded, "**" after the significant entries (the
# flag columns named by `marks` are then left out), blanks for NA.
shown_table <- function(frame, marks = list(), digits = 3) {
  shown <- lapply(frame, function(column) {
    text <- if (is.double(column)) formatC(column, format = "f", digits = digits) else as.character(column)
    ifelse(is.na(column), "", text)
  })
  for (column in names(marks)) {
    flagged <- frame[[marks[[column]]]]
    shown[[column]] <- paste0(shown[[column]], ifelse(!is.na(flagged) & flagged, "**", "  "))
    shown[[marks[[column]]]] <- NULL
  }
  as.data.frame(shown, stringsAsFactors = FALSE, optional = TRUE)
}

print_section <- function(title, frame, marks = list()) {
  cat("\n", title, "\n", sep = "")
  print(shown_table(frame, marks), row.names = FALSE, right = TRUE)
}

print.talver_invariance <- function(x, ...) {
  d <- x$details
  cat("TALVER: item measurement invariance\n")
  cat(sprintf("Target sample %s: %d participants; Replication sample %s: %d participants; %d items\n",
              d$target, d$target_count, d$replication, d$replication_count, length(d$items)))
  dropped <- c(d$target_dropped, d$replication_dropped)
  if (any(dropped > 0)) {
    cat(sprintf("Rows with missing values left out: %d of Target, %d of Replication\n", dropped[1], dropped[2]))
  }
  cat(sprintf("%d %s, %s of %s, %d bootstrap samples, alpha = %.2f\n", d$factors,
              if (d$method == "pca") "components" else "factors", method_label[[d$method]],
              dispersion_label[[d$dispersion]], d$samples, d$alpha))
  if (!is.null(x$difficulties)) {
    print_section("Item difficulties (** |value| at least the critical value)",
                  x$difficulties[c("item", "target_mean", "replication_mean", "t", "t_significant", "d",
                                   "d_significant")],
                  list(t = "t_significant", d = "d_significant"))
  }
  if (!is.null(x$discriminations)) {
    print_section("Item discriminations with bias-corrected intervals (** intervals do not overlap)",
                  x$discriminations, list(difference = "significant"))
  }
  if (!is.null(x$residual_variances)) {
    print_section("Item residual variances (** intervals do not overlap)", x$residual_variances,
                  list(difference = "significant"))
  }
  if (!is.null(x$hotelling)) {
    print_section("Hotelling's T square of all item means", x$hotelling)
  }
  if (!is.null(x$congruence)) {
    print_section("Congruence indices (** below the critical value)", x$congruence,
                  list(observed = "significant"))
  }
  if (!is.null(x$discrepancy)) {
    print_section("Discrepancy indices (** above the critical value)", x$discrepancy,
                  list(observed = "significant"))
  }
  for (k in seq_len(nrow(x$warnings))) {
    cat("\nWarning (", x$warnings$section[k], "): ", x$warnings$text[k], "\n", sep = "")
  }
  invisible(x)
}

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
