# The names R users type, the random stream, the progress bar, and the
# methods that extract and show a result.

quick <- function(...) {
  talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                    outputs = c("difficulties", "congruence"), ...)
}

test_that("psych's and lavaan's names select the same analyses, in any case", {
  for (pair in list(c("minres", "uls"), c("ULS", "uls"), c("pc", "pca"), c("PCA", "pca"), c("ML", "ml"))) {
    fit <- talver_invariance(target, replication, method = pair[1], samples = 500, seed = 1, progress = FALSE,
                             outputs = "difficulties")
    expect_identical(fit$details$method, pair[2])
  }
  for (pair in list(c("cov", "covariance"), c("cor", "pearson"), c("Pearson", "pearson"), c("poly", "polychoric"))) {
    fit <- talver_invariance(target[, 1:4], replication[, 1:4], dispersion = pair[1], samples = 500, seed = 1,
                             progress = FALSE, outputs = "difficulties")
    expect_identical(fit$details$dispersion, pair[2])
  }
})

test_that("set.seed() repeats a call, two calls differ, and seed = 1 gives talver-batch's numbers", {
  set.seed(2024)
  first <- quick()
  second <- quick()
  set.seed(2024)
  again <- quick()
  expect_identical(again$congruence, first$congruence)
  expect_identical(again$details$seed, first$details$seed)
  expect_false(identical(second$congruence$critical, first$congruence$critical))
  expect_identical(quick(seed = first$details$seed)$congruence, first$congruence)
  batch <- talver_read_json(fixture("uls_covariance.json"))
  full <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE, seed = 1)
  expect_identical(full$congruence, batch$congruence)
})

test_that("the progress bar goes through messages, which suppressMessages() silences", {
  shown <- character()
  withCallingHandlers(talver_invariance(target, replication, samples = 500, threads = 1, progress = TRUE,
                                        outputs = "congruence", seed = 1),
                      message = function(m) {
                        shown <<- c(shown, conditionMessage(m))
                        invokeRestart("muffleMessage")
                      })
  bars <- grep("^\rIndices of invariance \\|[= ]+\\| +[0-9]+%$", shown, value = TRUE)
  expect_gt(length(bars), 0)
  expect_match(bars[length(bars)], "100%$")
  expect_silent(suppressMessages(talver_invariance(target, replication, samples = 500, progress = TRUE,
                                                   outputs = "congruence", seed = 1)))
  expect_silent(quick(seed = 1))
})

test_that("threads come from the option talver.threads, 2 by default, and do not change the numbers", {
  expect_identical(formals(talver_invariance)$threads, quote(getOption("talver.threads", 2L)))
  run <- function(...) {
    talver_invariance(target, replication, samples = 500, progress = FALSE, outputs = "congruence", seed = 1, ...)
  }
  old <- options(talver.threads = 0)
  on.exit(options(old))
  expect_error(run(), "getOption\\(\"talver.threads\", 2\\)", class = "talver_argument")
  options(talver.threads = 1)
  expect_identical(run()$congruence, run(threads = 3)$congruence)
})

test_that("coef(), confint(), nobs() and as.data.frame() carry the tables' values", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  loadings <- coef(fit)
  expect_identical(dim(loadings), c(10L, 4L))
  expect_identical(colnames(loadings), c("target.F1", "target.F2", "replication.F1", "replication.F2"))
  l <- fit$discriminations
  expect_identical(loadings["3", "replication.F2"], l$replication[l$item == "3" & l$factor == 2])
  intervals <- confint(fit)
  expect_identical(colnames(intervals), c("2.5 %", "97.5 %"))
  expect_identical(intervals["3:target.F1", ], c(`2.5 %` = l$target_lower[5], `97.5 %` = l$target_upper[5]))
  # Each loading lies in its interval: the bounds are not shuffled.
  expect_true(all(intervals[, 1] <= as.vector(loadings) & as.vector(loadings) <= intervals[, 2]))
  expect_identical(rownames(confint(fit, which = "residual_variances"))[1], "1:target")
  expect_error(confint(fit, level = 0.9), "alpha = 0.1", class = "talver_argument")
  expect_identical(nobs(fit), c(target = 707L, replication = 335L))
  long <- as.data.frame(fit)
  parts <- c("difficulties", "discriminations", "residual_variances", "hotelling", "congruence", "discrepancy")
  expect_identical(as.vector(table(long$table)[parts]),
                   vapply(parts, function(part) nrow(fit[[part]]), integer(1), USE.NAMES = FALSE))
  expect_identical(long$observed[long$table == "discrepancy"], fit$discrepancy$observed)
})

test_that("print() shows wide loading matrices with flags, compactly, and summary() fits a page", {
  fit <- talver_read_json(fixture("uls_covariance.json"))
  shown <- format(fit)
  expect_identical(capture.output(print(fit)), shown)
  header <- grep("^ +T\\.F1 +T\\.F2 +R\\.F1 +R\\.F2$", shown)
  expect_length(header, 1)
  l <- fit$discriminations
  rows <- shown[header + 1:10]
  # One row per item, and a "*" after each Replication loading whose
  # interval does not overlap the Target's.
  expect_identical(sub(" .*", "", rows), as.character(1:10))
  stars <- vapply(strsplit(trimws(rows), " +"), function(cells) sum(endsWith(cells, "*")), integer(1))
  expect_identical(stars, as.integer(tapply(l$significant, factor(l$item, levels = 1:10), sum)))
  expect_lt(length(shown), 80)
  expect_match(format(fit, digits = 4)[header + 1], "[0-9]\\.[0-9]{4}")
  expect_lt(length(capture.output(summary(fit))), 40)
})
