# The object that talver_invariance() and talver_read_json() return. Both
# build it from the JSON companion that talver-batch writes (the engine
# writes it for the package too), so the fields have one description: the
# JSON writer's names, mapped once here to the tables' columns, which
# print(), format(), as.data.frame() and the help pages use.

# Each table: where it sits in the JSON, and its columns as
# c(column = "JSON field"). Per-sample fields of interval tables are read
# from the JSON's "target" and "replication" arrays, the rest from
# "differences".
result_tables <- list(
  difficulties = list(
    json = "itemDifficulties", title = "Item means",
    columns = c(item = "item", target_mean = "targetMean", target_lower = "targetLower",
                target_upper = "targetUpper", replication_mean = "replicationMean",
                replication_lower = "replicationLower", replication_upper = "replicationUpper", t = "t", df = "df",
                p = "p", t_significant = "tSignificant", d = "d", d_significant = "dSignificant")),
  discriminations = list(json = "itemDiscriminations", title = "Loadings", intervals = TRUE, factors = TRUE),
  residual_variances = list(json = "itemResidualVariances", title = "Residual variances", intervals = TRUE,
                            factors = FALSE),
  hotelling = list(json = "hotellingTSquare", title = "Hotelling's T square",
                   columns = c(t_square = "tSquare", df1 = "df1", df2 = "df2", F = "F", P = "P", p_exact = "pExact")),
  congruence = list(json = "congruence", title = "Congruence indices", indices = TRUE),
  discrepancy = list(json = "discrepancy", title = "Discrepancy indices", indices = TRUE))

columns_of <- function(x) {
  if (is.null(x) || length(x) == 0) NULL else as.list(x)
}

numbers <- function(x, n = 1) if (is.null(x)) rep(NA_real_, n) else as.double(x)
flags <- function(x) as.logical(x)

intervals_frame <- function(part, names, with_factors) {
  target <- columns_of(part$target)
  replication <- columns_of(part$replication)
  differences <- columns_of(part$differences)
  frame <- data.frame(item = names[as.integer(target$item)], stringsAsFactors = FALSE)
  if (with_factors) frame$factor <- as.integer(target$factor)
  for (side in c("target", "replication")) {
    values <- if (side == "target") target else replication
    frame[[side]] <- numbers(values$value)
    frame[[paste0(side, "_lower")]] <- numbers(values$lower)
    frame[[paste0(side, "_upper")]] <- numbers(values$upper)
  }
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
             observed = c(numbers(items$observed, p), numbers(factors$observed, m), numbers(overall$observed)),
             critical = c(numbers(items$critical, p), numbers(factors$critical, m), numbers(overall$critical)),
             significant = flags(c(items$significant, factors$significant, overall$significant)),
             stringsAsFactors = FALSE)
}

# A table with named columns from JSON fields (absent fields become NA).
fields_frame <- function(part, columns, names) {
  rows <- max(1, length(part[[columns[[1]]]]))
  frame <- lapply(columns, function(field) {
    value <- part[[field]]
    if (is.null(value)) NA_real_ else if (is.logical(value)) value else if (is.character(value)) value else
      if (field %in% c("df", "df1", "df2")) as.integer(value) else as.double(value)
  })
  frame <- as.data.frame(frame, stringsAsFactors = FALSE, optional = TRUE)
  if ("item" %in% names(frame)) frame$item <- names[as.integer(frame$item)]
  frame[seq_len(rows), , drop = FALSE]
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

# The samples and options the JSON states, and the rows listwise deletion
# left out of each sample.
details_of <- function(raw, seed, group) {
  s <- raw$samples
  o <- raw$options
  items <- as.character(s$itemNames)
  if (length(items) != s$items) items <- as.character(seq_len(s$items))
  dropped <- function(side) {
    losses <- s$missingValues[[side]]
    if (is.null(losses)) 0L else as.integer(losses$rowsDropped)
  }
  # The missing cells of each item, per sample, where the file counts them.
  missing <- do.call(rbind, lapply(c("target", "replication"), function(side) {
    items <- columns_of(s$missingValues[[side]]$items)
    data.frame(sample = rep(side, length(items$item)), item = as.character(items$item),
               missing = as.integer(items$missing), stringsAsFactors = FALSE)
  }))
  polychoric <- identical(o$dispersion, "polychoric")
  list(target = s$targetFile, target_count = as.integer(s$targetCount), target_dropped = dropped("target"),
       replication = s$replicationFile, replication_count = as.integer(s$replicationCount),
       replication_dropped = dropped("replication"), missing_values = missing, items = items, factors = as.integer(o$factors),
       method = tolower(o$method), dispersion = o$dispersion, samples = as.integer(o$bootstrapSamples),
       alpha = o$alpha, lowest = if (polychoric) as.integer(o$lowestScore),
       highest = if (polychoric) as.integer(o$highestScore), seed = seed, group = group,
       indices_dispersion = raw$invarianceIndices$dispersionAnalysed)
}

new_talver_result <- function(raw, seed = NULL, report = NULL, group = NULL) {
  details <- details_of(raw, seed, group)
  names <- details$items
  result <- list()
  for (table in names(result_tables)) {
    shape <- result_tables[[table]]
    part <- if (isTRUE(shape$indices)) raw$invarianceIndices[[shape$json]] else raw[[shape$json]]
    result[table] <- list(
      if (is.null(part)) NULL
      else if (isTRUE(shape$intervals)) intervals_frame(part, names, shape$factors)
      else if (isTRUE(shape$indices)) indices_frame(part, names)
      else if (table == "difficulties") fields_frame(columns_of(part$items), shape$columns, names)
      else fields_frame(part, shape$columns, names))
  }
  if (!is.null(result$difficulties)) result$difficulties$critical <- as.double(raw$itemDifficulties$criticalValue)
  warnings <- columns_of(raw$warnings)
  texts <- as.character(warnings$text)
  result$warnings <- data.frame(section = as.character(warnings$section), text = texts, stringsAsFactors = FALSE)
  result$redraws <- redraws_frame(raw$bootstrap)
  result$details <- details
  result["report"] <- list(report)
  structure(result, class = "talver_invariance")
}
