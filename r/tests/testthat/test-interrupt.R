test_that("an interrupt stops a call between replicates and leaves the session sound", {
  skip_on_os("windows")
  fit <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                           outputs = "congruence", seed = 1)
  # The signal comes from another process one second into a call that runs
  # for a minute and more.
  system(sprintf("(sleep 1; kill -INT %d)", Sys.getpid()), wait = FALSE)
  started <- Sys.time()
  outcome <- tryCatch({
    talver_invariance(target, replication, method = "ml", samples = 5000, threads = 2, progress = FALSE)
    "finished"
  }, interrupt = function(condition) "interrupted")
  expect_identical(outcome, "interrupted")
  expect_lt(as.numeric(difftime(Sys.time(), started, units = "secs")), 30)
  again <- talver_invariance(target, replication, samples = 500, threads = 2, progress = FALSE,
                             outputs = "congruence", seed = 1)
  expect_identical(again$congruence, fit$congruence)
})
