# The package and talver-batch give the same numbers, to the last bit, for
# the same data and options. The fixtures are talver-batch's JSON files made
# by tests/make_fixtures.sh.

batch_runs <- list(
  uls_covariance = list(),
  uls_selected = list(outputs = c("discriminations", "hotelling", "congruence")),
  pca_pearson = list(method = "pca", dispersion = "pearson", alpha = 0.10, factors = 3),
  ml_covariance = list(method = "ml"),
  polychoric_five = list(dispersion = "polychoric", items = 1:5),
  polychoric_warning = list(dispersion = "polychoric", lowest = 0, highest = 5)
)

for (name in names(batch_runs)) {
  test_that(paste("the tables equal talver-batch's JSON:", name), {
    arguments <- batch_runs[[name]]
    items <- if (is.null(arguments$items)) 1:10 else arguments$items
    arguments$items <- NULL
    raised <- list()
    fit <- withCallingHandlers(
      do.call(talver_invariance, c(list(target[, items, drop = FALSE], replication[, items, drop = FALSE],
                                        samples = 500, threads = 2, progress = FALSE, seed = 1), arguments)),
      talver_warning = function(w) {
        raised[[length(raised) + 1]] <<- w
        invokeRestart("muffleWarning")
      })
    batch <- talver_read_json(fixture(paste0(name, ".json")))
    # Each warning of the run is raised as an R warning, once.
    expect_identical(vapply(raised, conditionMessage, ""),
                     sprintf("%s: %s", batch$warnings$section, batch$warnings$text))
    for (table in tables) {
      expect_identical(fit[[table]], batch[[table]], label = paste0("fit$", table))
    }
    for (detail in c("target_count", "replication_count", "items", "factors", "method", "dispersion", "samples",
                     "alpha", "lowest", "highest", "indices_dispersion")) {
      expect_equal(fit$details[[detail]], batch$details[[detail]], label = paste0("fit$details$", detail))
    }
  })
}

test_that("the data frames carry the JSON's values themselves", {
  # Read without the package's conversion, so that a mistake shared by both
  # ways of building the tables cannot hide.
  raw <- jsonlite::fromJSON(fixture("uls_covariance.json"))
  fit <- talver_read_json(fixture("uls_covariance.json"))
  loadings <- raw$itemDiscriminations
  expect_identical(fit$discriminations$target, loadings$target$value)
  expect_identical(fit$discriminations$replication_upper, loadings$replication$upper)
  expect_identical(fit$discriminations$factor, as.integer(loadings$target$factor))
  expect_identical(fit$residual_variances$significant, raw$itemResidualVariances$differences$significant)
  congruence <- raw$invarianceIndices$congruence
  expect_identical(fit$congruence$observed, c(congruence$items$observed, congruence$factors$observed,
                                              congruence$overall$observed))
  expect_identical(fit$difficulties$d, raw$itemDifficulties$items$d)
  expect_identical(fit$hotelling$F, raw$hotellingTSquare$F)
  # The indices agree with their own definition: Tucker's congruence of the
  # rotated loadings of the two samples.
  g <- matrix(fit$discriminations$target, ncol = 2, byrow = TRUE)
  h <- matrix(fit$discriminations$replication, ncol = 2, byrow = TRUE)
  observed <- subset(fit$congruence, level == "item")$observed
  expect_equal(observed, rowSums(g * h) / sqrt(rowSums(g^2) * rowSums(h^2)), tolerance = 1e-12)
  expect_equal(subset(fit$discrepancy, level == "overall")$observed, sum((g - h)^2), tolerance = 1e-12)
})

test_that("seed selects the start of the random sequence, whatever the threads", {
  run <- function(...) {
    talver_invariance(target, replication, samples = 500, progress = FALSE,
                      outputs = c("difficulties", "congruence"), ...)
  }
  first <- run(threads = 1, seed = 1)
  expect_identical(run(threads = 2, seed = 1)$congruence, first$congruence)
  other <- run(threads = 2, seed = 12345)
  expect_identical(other$difficulties, first$difficulties)
  # The observed rotation starts from random rotations too: another start
  # may order the factors otherwise and round differently, which leaves the
  # item and overall congruences as they are.
  items <- first$congruence$level != "factor"
  expect_equal(other$congruence$observed[items], first$congruence$observed[items], tolerance = 1e-9)
  factors <- !items
  expect_equal(sort(other$congruence$observed[factors]), sort(first$congruence$observed[factors]),
               tolerance = 1e-9)
  expect_false(identical(other$congruence$critical, first$congruence$critical))
})

test_that("listwise deletion leaves out the incomplete rows of each sample", {
  holed_target <- target
  holed_target[c(3, 50), c(2, 7)] <- NA
  holed_replication <- replication
  holed_replication[10, 1] <- NaN
  fit <- talver_invariance(holed_target, holed_replication, samples = 500, threads = 2, progress = FALSE,
                           outputs = c("difficulties", "hotelling"), na = "listwise", seed = 1)
  complete <- talver_invariance(target[-c(3, 50), ], replication[-10, ], samples = 500, threads = 2,
                                progress = FALSE, outputs = c("difficulties", "hotelling"))
  expect_identical(fit$difficulties, complete$difficulties)
  expect_identical(fit$hotelling, complete$hotelling)
  expect_identical(c(fit$details$target_count, fit$details$target_dropped), c(705L, 2L))
  expect_identical(c(fit$details$replication_count, fit$details$replication_dropped), c(334L, 1L))
})

test_that("column names name the items, and data frames are taken like matrices", {
  named_target <- as.data.frame(target)
  named_replication <- as.data.frame(replication)
  names(named_target) <- names(named_replication) <- paste0("q", 1:10)
  fit <- talver_invariance(named_target, named_replication, samples = 500, threads = 2, progress = FALSE,
                           outputs = c("difficulties", "discrepancy"))
  expect_identical(fit$difficulties$item, paste0("q", 1:10))
  expect_identical(subset(fit$discrepancy, level == "item")$item, paste0("q", 1:10))
  plain <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                             outputs = c("difficulties", "discrepancy"))
  expect_identical(fit$difficulties[-1], plain$difficulties[-1])
})

test_that("the redraws name each bootstrap and sample, and add up", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  expect_identical(fit$redraws$analysis, rep(c("discriminations", "indices"), each = 2))
  expect_identical(fit$redraws$sample, rep(c("target", "replication"), 2))
  expect_identical(fit$redraws$replicates, rep(500L, 4))
  parts <- fit$redraws[, c("empty_category", "ml_not_converged", "item_without_variance", "not_finite")]
  expect_identical(as.integer(rowSums(parts)), fit$redraws$total)
})
