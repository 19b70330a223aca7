# The object that talver_invariance() and talver_read_json() return: the
# tables of a run as data frames, built from the engine's records or from
# the JSON companion of talver-batch, which share one layout.

columns_of <- function(x) {
  if (is.null(x) || length(x) == 0) NULL else as.list(x)
}

numbers <- function(x) as.double(if (is.null(x)) NA else x)
flags <- function(x) as.logical(x)

intervals_frame <- function(part, names, with_factors) {
  target <- columns_of(part$target)
  replication <- columns_of(part$replication)
  differences <- columns_of(part$differences)
  frame <- data.frame(item = names[as.integer(target$item)], stringsAsFactors = FALSE)
  if (with_factors) frame$factor <- as.integer(target$factor)
  frame$target <- numbers(target$value)
  frame$target_lower <- numbers(target$lower)
  frame$target_upper <- numbers(target$upper)
  frame$replication <- numbers(replication$value)
  frame$replication_lower <- numbers(replication$lower)
  frame$replication_upper <- numbers(replication$upper)
  frame$difference <- numbers(differences$value)
  frame$significant <- flags(differences$significant)
  frame
}

indices_frame <- function(family, names) {
  items <- columns_of(family$items)
  factors <- columns_of(family$factors)
  overall <- family$overall
  p <- length(items$item)
  m <- length(factors$factor)
  data.frame(level = c(rep("item", p), rep("factor", m), "overall"),
             item = c(names[as.integer(items$item)], rep(NA_character_, m + 1)),
             factor = c(rep(NA_integer_, p), as.integer(factors$factor), NA_integer_),
             observed = numbers(c(items$observed, factors$observed, numbers(overall$observed))),
             critical = numbers(c(items$critical, factors$critical, numbers(overall$critical))),
             significant = flags(c(items$significant, factors$significant, overall$significant)),
             stringsAsFactors = FALSE)
}

# One row per bootstrap that ran and sample: the samples drawn again, by
# reason, and the replicates whose solution was improper.
redraws_frame <- function(bootstrap) {
  rows <- list()
  for (analysis in c("itemDiscriminations", "invarianceIndices")) {
    loop <- bootstrap[[analysis]]
    if (is.null(loop)) next
    for (sample in c("target", "replication")) {
      r <- loop[[sample]]$redraws
      rows[[length(rows) + 1]] <- data.frame(
        analysis = if (analysis == "itemDiscriminations") "discriminations" else "indices", sample = sample,
        replicates = as.integer(loop$replicates), empty_category = as.integer(r$polychoricEmptyCategory),
        ml_not_converged = as.integer(r$mlNotConverged), item_without_variance = as.integer(r$itemWithoutVariance),
        not_finite = as.integer(r$notFinite), total = as.integer(r$total),
        improper_solutions = as.integer(loop[[sample]]$improperSolutions), stringsAsFactors = FALSE)
    }
  }
  if (length(rows) == 0) {
    return(data.frame(analysis = character(), sample = character(), replicates = integer(),
                      empty_category = integer(), ml_not_converged = integer(), item_without_variance = integer(),
                      not_finite = integer(), total = integer(), improper_solutions = integer()))
  }
  do.call(rbind, rows)
}

new_talver_result <- function(raw, details, report = NULL) {
  names <- details$items
  result <- list(difficulties = NULL, discriminations = NULL, residual_variances = NULL, hotelling = NULL,
                 congruence = NULL, discrepancy = NULL)
  if (!is.null(raw$itemDifficulties)) {
    items <- columns_of(raw$itemDifficulties$items)
    result$difficulties <- data.frame(item = names[as.integer(items$item)],
                                      target_mean = numbers(items$targetMean),
                                      replication_mean = numbers(items$replicationMean),
                                      t = numbers(items$t), t_significant = flags(items$tSignificant),
                                      d = numbers(items$d), d_significant = flags(items$dSignificant),
                                      critical = numbers(raw$itemDifficulties$criticalValue),
                                      stringsAsFactors = FALSE)
  }
  if (!is.null(raw$itemDiscriminations)) {
    result$discriminations <- intervals_frame(raw$itemDiscriminations, names, TRUE)
  }
  if (!is.null(raw$itemResidualVariances)) {
    result$residual_variances <- intervals_frame(raw$itemResidualVariances, names, FALSE)
  }
  if (!is.null(raw$hotellingTSquare)) {
    h <- raw$hotellingTSquare
    result$hotelling <- data.frame(t_square = numbers(h$tSquare), df1 = as.integer(h$df1),
                                   df2 = as.integer(h$df2), F = numbers(h$F), P = numbers(h$P))
  }
  if (!is.null(raw$invarianceIndices)) {
    details$indices_dispersion <- raw$invarianceIndices$dispersionAnalysed
    if (!is.null(raw$invarianceIndices$congruence)) {
      result$congruence <- indices_frame(raw$invarianceIndices$congruence, names)
    }
    if (!is.null(raw$invarianceIndices$discrepancy)) {
      result$discrepancy <- indices_frame(raw$invarianceIndices$discrepancy, names)
    }
  }
  warnings <- columns_of(raw$warnings)
  result$warnings <- data.frame(section = as.character(warnings$section), text = as.character(warnings$text),
                                stringsAsFactors = FALSE)
  result$redraws <- redraws_frame(raw$bootstrap)
  result$details <- details
  result["report"] <- list(report)
  structure(result, class = "talver_invariance")
}
