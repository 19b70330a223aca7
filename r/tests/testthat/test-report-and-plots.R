test_that("the text report is talver-batch's, apart from the clock and the sample names", {
  fit <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE, seed = 1)
  file <- tempfile(fileext = ".txt")
  talver_report(fit, file)
  ours <- readLines(file)
  theirs <- readLines(fixture("uls_covariance.txt"))
  varying <- "^ *(Date|Time): |^(Target|Replication) sample data file|^Computing time: "
  expect_identical(grepl(varying, ours), grepl(varying, theirs))
  expect_identical(ours[!grepl(varying, ours)], theirs[!grepl(varying, theirs)])
  expect_match(ours[grep("^Target sample data file", ours)], ": target$")
  # An existing file is kept unless the call says otherwise.
  expect_error(talver_report(fit, file), "exists already.*overwrite = TRUE")
  expect_silent(talver_report(fit, file, overwrite = TRUE))
  expect_error(talver_report(talver_read_json(fixture("uls_covariance.json")), tempfile()), "has no text report")
})

test_that("printing shows every table, and plot() draws each chart asked for", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  shown <- capture.output(print(fit))
  for (heading in c("Item means", "Loadings", "Residual variances", "Hotelling", "Congruence")) {
    expect_true(any(startsWith(shown, heading)), label = heading)
  }
  expect_output(print(summary(fit)), "Overall congruence: [0-9.]+ \\(critical value [0-9.]+\\)")
  file <- tempfile(fileext = ".pdf")
  grDevices::pdf(file)
  expect_silent(plot(fit))
  expect_silent(plot(fit, which = "all"))
  expect_silent(plot(fit, which = c("means", "discrepancy")))
  grDevices::dev.off()
  # A page per chart and factor: the loadings (2); all (1 + 2 + 1 + 1 + 1); means and discrepancy (2).
  expect_identical(length(grep("/Type /Page\\b", readLines(file, warn = FALSE))), 10L)
  warned <- talver_read_json(fixture("polychoric_warning.json"))
  expect_output(print(warned), "Polychoric correlations cannot be computed")
  expect_error(plot(warned, which = "loadings"), "no \"loadings\" to plot", class = "talver_no_table")
  expect_error(plot(fit, which = "indices"), "which must name charts")
})

test_that("every item is labelled on the charts, and the flagged ones are marked", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  grDevices::dev.control("enable")
  plot(fit, which = "congruence")
  # The texts written in the margin below the chart, from the device's
  # record of what was drawn.
  drawn <- grDevices::recordPlot()[[1]]
  texts <- unlist(lapply(drawn, function(entry) {
    arguments <- entry[[2]]
    if (length(arguments) > 1 && is.character(arguments[[2]]) && length(arguments[[2]]) > 1) arguments[[2]]
  }))
  expect_setequal(sub("[*]$", "", texts), as.character(1:10))
  flagged <- subset(fit$congruence, level == "item" & significant)$item
  expect_setequal(sub("[*]$", "", texts[endsWith(texts, "*")]), flagged)
})

test_that("files that are not talver-batch's JSON are refused", {
  expect_error(talver_read_json(tempfile()), "does not exist")
  other <- tempfile(fileext = ".json")
  writeLines("{\"program\": \"other\"}", other)
  expect_error(talver_read_json(other), "is not a file written by talver-batch")
  writeLines("not json", other)
  expect_error(talver_read_json(other), "is not a JSON file")
})
