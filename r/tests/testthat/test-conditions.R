# Refusals and warnings are classed R conditions naming the items by their
# columns; R's interrupt and time limits end a call as R ends other calls.

named <- function(x) {
  x <- as.data.frame(x)
  names(x) <- paste0("q", seq_len(ncol(x)))
  x
}

test_that("analyses that end early raise classed warnings naming the items", {
  constant <- named(target)
  constant$q4 <- 3
  expect_warning(fit <- talver_invariance(constant, named(replication), samples = 500, progress = FALSE,
                                          outputs = "discriminations", seed = 1),
                 "item \"q4\" has no variance", class = "talver_item_variance")
  expect_s3_class(tryCatch(talver_invariance(constant, named(replication), samples = 500, progress = FALSE,
                                             outputs = "discriminations", seed = 1),
                           talver_warning = function(w) w), "talver_warning")
  # The warning is kept in the result too, with the same names.
  expect_match(fit$warnings$text[1], "item \"q4\" has no variance")
  expect_null(fit$discriminations)
})

test_that("scores that look like codes of missing answers are warned of, naming the items", {
  coded <- named(target)
  coded[c(4, 9), "q2"] <- -9
  coded[12, "q7"] <- 99
  warning <- tryCatch(talver_invariance(coded, named(replication), samples = 500, progress = FALSE, seed = 1,
                                        outputs = "difficulties"),
                      talver_missing_codes = function(w) w)
  expect_s3_class(warning, "talver_warning")
  expect_identical(warning$codes, c(-9, 99))
  expect_match(conditionMessage(warning), "The score -9 looks like a code for a missing answer: it occurs 2 times, in q2 \\(2\\)")
  expect_match(conditionMessage(warning), "The score 99 .* in q7 \\(1\\).*set them to NA")
  # The example samples hold no such scores.
  expect_silent(talver_invariance(named(target), named(replication), samples = 500, progress = FALSE, seed = 1,
                                  outputs = "difficulties"))
})

test_that("warnings name the items by their columns, and number them when the samples have no names", {
  constant <- function(x) {
    x[, c(2, 5)] <- 3
    x
  }
  quick <- function(a, b) {
    talver_invariance(a, b, samples = 500, progress = FALSE, outputs = "difficulties", seed = 1)
  }
  expect_warning(fit <- quick(constant(named(target)), constant(named(replication))),
                 "cannot be computed for items \"q2\" and \"q5\": their scores do not vary")
  # The report says what the warning says.
  expect_match(fit$report, "cannot be computed for items \"q2\" and \"q5\"", fixed = TRUE)
  expect_warning(quick(constant(target), constant(replication)), "cannot be computed for items 2 and 5: their")
  expect_identical(warning_kind("Improper solution (a Heywood case): the residual variance"), "talver_heywood")
  expect_identical(warning_kind("Polychoric correlations cannot be computed: a score of the declared range is unused"),
                   "talver_polychoric_categories")
})

test_that("every refusal is a talver_error with a kind", {
  condition <- tryCatch(talver_invariance(target, replication, samples = 10, progress = FALSE),
                        error = function(e) e)
  expect_s3_class(condition, c("talver_argument", "talver_error", "error", "condition"), exact = TRUE)
  expect_null(conditionCall(condition))
  expect_error(talver_read_json(tempfile()), class = "talver_file")
})

test_that("a time limit ends a call as an error, and the session stays sound", {
  congruence <- function() {
    talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE, outputs = "congruence",
                      seed = 1)$congruence
  }
  before <- congruence()
  long_target <- long_sample(2000, 1)
  long_replication <- long_sample(1500, 2)
  outcome <- tryCatch({
    setTimeLimit(elapsed = 1, transient = TRUE)
    talver_invariance(target = long_target, replication = long_replication, factors = 6, samples = 5000,
                      threads = 2, progress = FALSE)
    "finished"
  }, error = function(e) conditionMessage(e), interrupt = function(i) "interrupt")
  setTimeLimit(elapsed = Inf)
  expect_match(outcome, "time limit")
  expect_identical(congruence(), before)
})
