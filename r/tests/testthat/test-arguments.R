# Every argument the program would refuse is refused with an error that
# says what to change, before anything is computed.

refused <- function(message, ..., class = "talver_error") {
  arguments <- list(...)
  call <- modifyList(list(target = target, replication = replication, samples = 500, progress = FALSE), arguments)
  expect_error(do.call(talver_invariance, call), message, class = class)
}

test_that("samples that cannot be analysed are refused", {
  refused("Give both samples", target = letters)
  refused("column \"group\" is not numeric", target = data.frame(target, group = "a"))
  refused("has 9 items and .* has 10", target = target[, 1:9])
  refused("at least two are needed", target = target[, 1, drop = FALSE], replication = replication[, 1, drop = FALSE])
  refused("has no participants", target = target[0, ])
  refused("not finite numbers", target = replace(target, 5, Inf))
  named <- target
  colnames(named) <- paste0("x", 1:10)
  other <- replication
  colnames(other) <- c(paste0("x", 1:9), "y")
  refused("column 10 is \"x10\" in one and \"y\" in the other", target = named, replication = other)
})

test_that("missing values are refused unless listwise deletion is asked for", {
  holed <- target
  holed[7, 3] <- NA
  refused("1 row with missing values \\(the first is row 7\\).*na = \"listwise\"", target = holed)
  refused("has no participants with complete values", target = holed[7, , drop = FALSE], na = "listwise")
  refused("na must be one of \"fail\", \"listwise\"", na = "pairwise")
})

test_that("options outside the program's limits are refused", {
  refused("factors must lie between 1 and 9 \\(fewer factors than the 10 items\\)", factors = 10)
  refused("factors must be one whole number", factors = 1.5)
  refused("samples must lie between 500 and 5000", samples = 499)
  refused("samples must lie between 500 and 5000", samples = 5001)
  refused("alpha must be 0.05 or 0.10", alpha = 0.01)
  refused("method must be one of \"uls\", \"minres\", \"pca\", \"pc\", \"ml\" \\(in any case\\)", method = "wls")
  refused("dispersion must be one of", dispersion = "spearman")
  refused("maximum likelihood is available for covariances and Pearson", method = "ml", dispersion = "polychoric")
  refused("threads must lie between 1", threads = 0)
  refused("seed must be NULL or one whole number", seed = -1)
  refused("progress must be TRUE or FALSE", progress = NA)
  refused("\"loadings\" is not one of them", outputs = c("difficulties", "loadings"))
  refused("Residual variances are computed with covariances only", dispersion = "pearson",
          outputs = "residual_variances")
})

test_that("the polychoric score range may widen the data's but not cut it", {
  refused("add dispersion = \"polychoric\" or leave them out", lowest = 1)
  refused("lowest is 2, above the lowest score in the data \\(1\\)", dispersion = "polychoric", lowest = 2)
  refused("highest is 4, below the highest score in the data \\(5\\)", dispersion = "polychoric", highest = 4)
  refused("Polychoric correlations cannot be computed for scores from 1 to 100000", dispersion = "polychoric",
          highest = 100000)
})

test_that("samples too small for their items are refused as talver-batch refuses them", {
  refused(paste0("The Target sample \\(target\\) has 11 complete rows; with 10 items the analyses need at ",
                 "least 12. Choose fewer items or a larger sample."), target = target[1:11, ],
          class = "talver_sample_size")
  holed <- replication[1:13, ]
  holed[2:3, 4] <- NA
  refused("The Replication sample \\(replication\\) has 11 complete rows after 2 rows with missing values were left out",
          replication = holed, na = "listwise", class = "talver_sample_size")
  # An item that nobody answered is the cause, and is named.
  unanswered <- replication
  unanswered[, c(3, 7)] <- NA
  colnames(unanswered) <- paste0("q", 1:10)
  refused("complete values. The items \"q3\" and \"q7\" are missing \\(NA\\) in every row of the sample: leave them",
          target = unanswered, replication = unanswered, na = "listwise", class = "talver_sample_size")
})

test_that("scores that are no categories are refused for polychoric correlations, naming the item", {
  named <- function(x) {
    colnames(x) <- paste0("q", 1:10)
    x
  }
  fractional <- named(target)
  fractional[5, 3] <- 2.5
  refused(paste0("Polychoric correlations cannot be computed: item \"q3\" has the score 2.5 in row 5 of target ",
                 "\\(Target sample\\), which is not a whole number.\nRecode"),
          target = fractional, replication = named(replication), dispersion = "polychoric",
          class = "talver_polychoric_categories")
  # Covariances take such scores as they are.
  expect_silent(talver_invariance(fractional, named(replication), samples = 500, progress = FALSE, seed = 1,
                                  outputs = "difficulties"))
})

test_that("work beyond the memory is refused", {
  wide_target <- matrix(1, nrow = 2, ncol = 4000)
  refused("do not fit in memory 5000 times", target = wide_target, replication = wide_target, factors = 20,
          samples = 5000)
})
