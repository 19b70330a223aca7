# The example samples as unnamed matrices, so that items are named by their
# numbers as in talver-batch's JSON files.
example_sample <- function(file, items = 1:10) {
  path <- system.file("extdata", file, package = "talver")
  unname(as.matrix(utils::read.table(path)))[, items, drop = FALSE]
}
target <- example_sample("target.dat")
replication <- example_sample("replica.dat")

fixture <- function(name) test_path("fixtures", name)

tables <- c("difficulties", "discriminations", "residual_variances", "hotelling", "congruence", "discrepancy",
            "warnings", "redraws")
