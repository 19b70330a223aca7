# The reference job E of scripts/bench-grid.sh: R's symmetric eigen
# decomposition (Debian's reference LAPACK, one core) of 4000 covariance
# matrices of 60 items, the decompositions a 60-item bootstrap needs. Prints
# the CPU seconds of the decompositions alone (the matrices are made first).
#
#   Rscript scripts/bench-reference.R
set.seed(60)
items <- 60
matrices <- lapply(seq_len(4000), function(k) cov(matrix(rnorm(300 * items), ncol = items)))
timing <- system.time(for (s in matrices) eigen(s, symmetric = TRUE))
cat(sprintf("%.2f\n", timing[["user.self"]] + timing[["sys.self"]]))
