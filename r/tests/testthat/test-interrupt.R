test_that("an interrupt stops a call between replicates and leaves the session sound", {
  skip_on_os("windows")
  fit <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                           outputs = "congruence", seed = 1)
  long_target <- long_sample(2000, 1)
  long_replication <- long_sample(1500, 2)
  # The signal comes from another process one second into a call that runs
  # for ten seconds and more.
  system(sprintf("(sleep 1; kill -INT %d)", Sys.getpid()), wait = FALSE)
  started <- Sys.time()
  outcome <- tryCatch({
    talver_invariance(target = long_target, replication = long_replication, factors = 6, samples = 5000,
                      threads = 2, progress = FALSE)
    "finished"
  }, interrupt = function(condition) "interrupted")
  expect_identical(outcome, "interrupted")
  expect_lt(as.numeric(difftime(Sys.time(), started, units = "secs")), 30)
  again <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                             outputs = "congruence", seed = 1)
  expect_identical(again$congruence, fit$congruence)
})
