# The package's one analysis call; its arguments are described in
# man/talver_invariance.Rd. It takes one data frame with a group column, or
# the two samples as two matrices or data frames.
talver_invariance <- function(data, group = NULL, items = NULL, target = NULL, replication = NULL, factors = 2,
                              method = c("uls", "pca", "ml"),
                              dispersion = c("covariance", "pearson", "polychoric"), samples = 1000,
                              alpha = 0.05, lowest = NULL, highest = NULL,
                              threads = getOption("talver.threads", 2L),
                              outputs = c("difficulties", "discriminations", "residual_variances", "hotelling",
                                          "congruence", "discrepancy"),
                              na = c("fail", "listwise"), seed = NULL, progress = interactive()) {
  is_sample <- function(x) is.data.frame(x) || is.matrix(x)
  na <- choose_one(na, "na", c("fail", "listwise"))
  group_details <- NULL
  if (is_sample(target) || is_sample(replication) || is_sample(group)) {
    # Two samples: talver_invariance(target, replication), by position or name.
    first <- if (is_sample(target)) target else if (!missing(data)) data
    second <- if (is_sample(replication)) replication else group
    if (!is_sample(first) || !is_sample(second)) {
      refuse("Give both samples, target and replication, as matrices or data frames, or one data frame with ",
             "a group column: talver_invariance(data, group = \"column\").")
    }
    first_name <- sample_name(if (is_sample(target)) substitute(target) else substitute(data), "target")
    second_name <- sample_name(if (is_sample(replication)) substitute(replication) else substitute(group),
                               "replication")
    pick <- function(x) {
      if (is.null(items)) return(x)
      if (is.null(colnames(x)) && is.character(items)) {
        refuse("items names columns, but the samples have no column names; give positions.", kind = "talver_items")
      }
      x[, item_columns(items, if (is.null(colnames(x))) as.character(seq_len(ncol(x))) else colnames(x)),
        drop = FALSE]
    }
    target <- sample_matrix(pick(first), first_name, na)
    replication <- sample_matrix(pick(second), second_name, na)
  } else {
    if (missing(data) || is.null(group)) {
      refuse("Give a data frame and its group column, talver_invariance(data, group = \"column\"), or the two ",
             "samples, talver_invariance(target, replication).")
    }
    data_name <- sample_name(substitute(data), "data")
    split <- split_by_group(data, group, items, target, replication, data_name)
    if (is.null(items)) {
      message_items(names(split$target), if (is.character(group) && length(group) == 1) group)
    }
    first_name <- split$target_name
    second_name <- split$replication_name
    target <- sample_matrix(split$target, first_name, na, split$target_rows,
                            list(name = data_name, rows = split$target_positions))
    replication <- sample_matrix(split$replication, second_name, na, split$replication_rows,
                                 list(name = data_name, rows = split$replication_positions))
    group_details <- split$group
  }
  run_invariance(target, replication, first_name, second_name, group_details, factors = factors,
                 method = method, dispersion = dispersion, samples = samples, alpha = alpha, lowest = lowest,
                 highest = highest, threads = threads, outputs = outputs, outputs_given = !missing(outputs),
                 seed = seed, progress = progress)
}

# Taking every column but the group's as an item is said, so that no column
# becomes an item unnoticed.
message_items <- function(items, group_column) {
  shown <- if (length(items) > 12) c(utils::head(items, 10), "...", utils::tail(items, 1)) else items
  message("Items: ", if (is.null(group_column)) paste("all", length(items), "columns") else
    paste0("the ", length(items), " columns other than \"", group_column, "\""), " (", paste(shown, collapse = ", "),
          "). Name them with items = to leave columns out.")
}

run_invariance <- function(target, replication, target_name, replication_name, group_details, factors, method,
                           dispersion, samples, alpha, lowest, highest, threads, outputs, outputs_given, seed,
                           progress) {
  method <- choose_one(method, "method", c("uls", "pca", "ml"))
  dispersion <- choose_one(dispersion, "dispersion", c("covariance", "pearson", "polychoric"))
  if (method == "ml" && dispersion == "polychoric") {
    refuse("method = \"ml\" cannot be used with dispersion = \"polychoric\": maximum likelihood is available ",
           "for covariances and Pearson correlations only. Choose method \"uls\" or \"pca\", or another ",
           "dispersion.")
  }
  outputs <- check_outputs(outputs, dispersion, outputs_given)
  items <- ncol(target)
  if (ncol(replication) != items) {
    refuse(target_name, " has ", items, " items and ", replication_name, " has ", ncol(replication), "; ",
           "both samples need the same items in the same order.")
  }
  if (items > most_items) {
    refuse("There are ", items, " items; at most ", most_items, " items can be analysed.")
  }
  for (sample in list(list(target, target_name), list(replication, replication_name))) {
    if (as.numeric(nrow(sample[[1]])) * items > most_sample_values) {
      refuse(sample[[2]], " is too large: ", nrow(sample[[1]]), " participants x ", items, " items are more ",
             "than the ", most_sample_values, " values that a sample may hold in memory.",
             kind = "talver_sample_size")
    }
  }
  names <- item_names(target, replication, target_name, replication_name)
  # The engine names the items by these, or by their numbers when they have none.
  named_columns <- if (is.null(colnames(target)) && is.null(colnames(replication))) character() else names
  if (items < 2) {
    refuse("There is ", items, " item; at least two are needed, and more items than factors.")
  }
  warn_missing_codes(target, replication, names)
  if (dispersion == "polychoric") {
    # Scores that are no whole numbers would become categories silently.
    origins <- list(targetName = attr(target, "origin")$name, targetRows = as.double(attr(target, "origin")$rows),
                    replicationName = attr(replication, "origin")$name,
                    replicationRows = as.double(attr(replication, "origin")$rows))
    refusal <- .talver_polychoric_refusal(target, replication, named_columns, origins)
    if (nzchar(refusal)) talver_abort(refusal, "talver_polychoric_categories")
  }
  factors <- whole_number_between(factors, "factors", 1, min(most_factors, items - 1),
                                  if (items - 1 < most_factors) {
                                    paste0(" (fewer factors than the ", items, " items)")
                                  } else "")
  samples <- whole_number_between(samples, "samples", fewest_samples, most_samples)
  if (!is.numeric(alpha) || length(alpha) != 1 || is.na(alpha) || !(alpha %in% c(0.05, 0.10))) {
    refuse("alpha must be 0.05 or 0.10; it is ", deparse1(alpha), ".")
  }
  range <- score_range(lowest, highest, dispersion, observed_range(target, replication))
  check_work_size(samples, items, factors, dispersion, range)
  check_enough_rows(target, "Target", target_name)
  check_enough_rows(replication, "Replication", replication_name)
  threads <- whole_number_between(threads, "threads", 1, 1024,
                                  " (the default is getOption(\"talver.threads\", 2))")
  seed <- if (is.null(seed)) {
    # From R's random stream: set.seed() repeats a call, and two calls differ.
    floor(stats::runif(1) * 4294967296)
  } else {
    if (!is_whole_number(seed) || seed < 0 || seed > 4294967295) {
      refuse("seed must be NULL or one whole number from 0 to 4294967295; it is ", deparse1(seed), ".")
    }
    seed
  }
  if (!is.logical(progress) || length(progress) != 1 || is.na(progress)) {
    refuse("progress must be TRUE or FALSE.")
  }

  show <- if (progress) console_progress()
  # The bar's line is ended also when the call is stopped.
  if (progress) on.exit(show("", NA), add = TRUE)
  options <- list(targetName = target_name, replicationName = replication_name,
                  itemNames = named_columns,
                  factors = factors, method = method, dispersion = dispersion, samples = samples,
                  alpha = alpha, lowest = range[1], highest = range[2], outputs = outputs, seed = seed,
                  threads = threads, progress = show,
                  targetLosses = attr(target, "losses"), replicationLosses = attr(replication, "losses"))
  run <- tryCatch(.talver_engine(target, replication, options),
                  # A failure of the engine's own (not R's interrupt or time
                  # limit, which go on as they are).
                  "C++Error" = function(e) talver_abort(paste0("The analyses failed: ", conditionMessage(e)),
                                                        "talver_internal"))
  raw <- jsonlite::fromJSON(run[["json"]], simplifyVector = TRUE)
  fit <- new_talver_result(raw, seed = seed, report = run[["report"]], group = group_details)
  signal_warnings(fit)
  fit
}

# Scores such as -9 or 99 that look like codes of missing answers would be
# analysed as scores without a word: the call warns, naming the items.
warn_missing_codes <- function(target, replication, names) {
  found <- .talver_missing_codes(target, replication, names)
  if (length(found$codes) > 0) {
    talver_warn(paste0(paste(found$descriptions, collapse = "\n"), "\nIf ",
                       if (length(found$codes) > 1) "they are" else "it is", ", set ",
                       if (length(found$codes) > 1) "them" else "it", " to NA before the call, for example ",
                       "data[data == ", format(found$codes[1]), "] <- NA."),
                "talver_missing_codes", codes = found$codes)
  }
}
