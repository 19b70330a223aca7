test_that("the text report is talver-batch's, apart from the clock and the sample names", {
  fit <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE)
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

test_that("printing, summarising and plotting show every table", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  shown <- capture.output(print(fit))
  for (heading in c("Item difficulties", "Item discriminations", "Item residual variances", "Hotelling",
                    "Congruence indices", "Discrepancy indices")) {
    expect_true(any(startsWith(shown, heading)), label = heading)
  }
  expect_output(print(summary(fit)), "Overall congruence: [0-9.]+ \\(critical value [0-9.]+\\)")
  grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  expect_silent(plot(fit))
  warned <- talver_read_json(fixture("polychoric_warning.json"))
  expect_output(print(warned), "Polychoric correlation could not converge")
  expect_error(plot(warned, which = "loadings"), "no item discriminations to plot")
})

test_that("files that are not talver-batch's JSON are refused", {
  expect_error(talver_read_json(tempfile()), "does not exist")
  other <- tempfile(fileext = ".json")
  writeLines("{\"program\": \"other\"}", other)
  expect_error(talver_read_json(other), "is not a file written by talver-batch")
  writeLines("not json", other)
  expect_error(talver_read_json(other), "is not a JSON file")
})
