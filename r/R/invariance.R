# The package's one analysis call; its arguments are described in man/talver_invariance.Rd.
talver_invariance <- function(target, replication, factors = 2, method = c("uls", "pca", "ml"),
                              dispersion = c("covariance", "pearson", "polychoric"), samples = 1000,
                              alpha = 0.05, lowest = NULL, highest = NULL, threads = NULL,
                              outputs = c("difficulties", "discriminations", "residual_variances", "hotelling",
                                          "congruence", "discrepancy"),
                              na = c("fail", "listwise"), seed = NULL, progress = interactive()) {
  target_name <- sample_name(substitute(target), "target")
  replication_name <- sample_name(substitute(replication), "replication")
  method <- choose_one(method, "method", c("uls", "pca", "ml"))
  dispersion <- choose_one(dispersion, "dispersion", c("covariance", "pearson", "polychoric"))
  na <- choose_one(na, "na", c("fail", "listwise"))
  if (method == "ml" && dispersion == "polychoric") {
    refuse("method = \"ml\" cannot be used with dispersion = \"polychoric\": maximum likelihood is available ",
           "for covariances and Pearson correlations only. Choose method \"uls\" or \"pca\", or another ",
           "dispersion.")
  }
  outputs <- check_outputs(outputs, dispersion, !missing(outputs))

  before <- c(NROW(target), NROW(replication))
  target <- sample_matrix(target, target_name, na)
  replication <- sample_matrix(replication, replication_name, na)
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
             "than the ", most_sample_values, " values that a sample may hold in memory.")
    }
  }
  names <- item_names(target, replication, target_name, replication_name)

  if (items < 2) {
    refuse("There is ", items, " item; at least two are needed, and more items than factors.")
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
  threads <- if (is.null(threads)) NA_integer_ else whole_number_between(threads, "threads", 1, 1024)
  seed <- if (is.null(seed)) 1 else {
    if (!is_whole_number(seed) || seed < 0 || seed > 4294967295) {
      refuse("seed must be NULL or one whole number from 0 to 4294967295; it is ", deparse1(seed), ".")
    }
    seed
  }
  if (!is.logical(progress) || length(progress) != 1 || is.na(progress)) {
    refuse("progress must be TRUE or FALSE.")
  }

  options <- list(targetName = target_name, replicationName = replication_name,
                  itemNames = if (is.null(colnames(target)) && is.null(colnames(replication))) character() else names,
                  factors = factors, method = method, dispersion = dispersion, samples = samples,
                  alpha = alpha, lowest = range[1], highest = range[2], outputs = outputs, seed = seed,
                  threads = threads, progress = progress)
  raw <- .talver_engine(target, replication, options)
  details <- list(target = target_name, target_count = nrow(target), target_dropped = before[1] - nrow(target),
                  replication = replication_name, replication_count = nrow(replication),
                  replication_dropped = before[2] - nrow(replication), items = names, factors = factors,
                  method = method, dispersion = dispersion, samples = samples, alpha = alpha,
                  lowest = if (dispersion == "polychoric") range[1], highest = if (dispersion == "polychoric") range[2],
                  seed = seed)
  new_talver_result(raw, details, report = raw$report)
}
