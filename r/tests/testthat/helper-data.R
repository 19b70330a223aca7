# The example samples as unnamed matrices, so that items are named by their
# numbers as in talver-batch's JSON files.
example_sample <- function(file, items = 1:10) {
  path <- system.file("extdata", file, package = "talver")
  unname(as.matrix(utils::read.table(path)))[, items, drop = FALSE]
}
target <- example_sample("target.dat")
replication <- example_sample("replica.dat")

# Five-point scores of 60 items on 6 factors: a call on them with 5000
# samples runs for seconds even on a fast machine, long enough to stop.
long_sample <- function(n, seed) {
  set.seed(seed)
  items <- 60
  factors <- 6
  loadings <- outer(seq_len(items), seq_len(factors), function(i, k) 0.7 * ((i - 1) %% factors == k - 1))
  latent <- matrix(stats::rnorm(n * factors), n) %*% t(loadings) + matrix(stats::rnorm(n * items, sd = 0.7), n)
  matrix(findInterval(latent, c(-1.5, -0.5, 0.5, 1.5)) + 1, n)
}

fixture <- function(name) test_path("fixtures", name)

tables <- c("difficulties", "discriminations", "residual_variances", "hotelling", "congruence", "discrepancy",
            "warnings", "redraws")
