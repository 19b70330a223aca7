# The call on one data frame with a group column gives the numbers of the
# call on two samples and of talver-batch --data --group, and takes only the
# items named.

grouped <- utils::read.csv(fixture("grouped.csv"))
quick <- function(...) talver_invariance(..., samples = 500, progress = FALSE)

test_that("one data frame with a group column equals talver-batch --data --group", {
  fit <- quick(grouped, group = "school", items = "q1:q10", target = "A", replication = "B", na = "listwise",
               seed = 1)
  batch <- talver_read_json(fixture("grouped.json"))
  for (table in tables) {
    expect_identical(fit[[table]], batch[[table]], label = paste0("fit$", table))
  }
  expect_identical(fit$details$items, paste0("q", 1:10))
  complete <- stats::complete.cases(grouped[paste0("q", 1:10)])
  for (side in c("A", "B")) {
    rows <- grouped$school == side
    count <- if (side == "A") "target_count" else "replication_count"
    dropped <- if (side == "A") "target_dropped" else "replication_dropped"
    expect_identical(fit$details[[count]], sum(rows & complete))
    expect_identical(fit$details[[dropped]], sum(rows & !complete))
    expect_identical(batch$details[[dropped]], fit$details[[dropped]])
  }
  expect_identical(batch$details$missing_values, fit$details$missing_values)
  expect_identical(subset(fit$details$missing_values, sample == "target")$missing,
                   as.integer(colSums(is.na(grouped[grouped$school == "A", c("q3", "q8")]))))
  # The rows of school C are counted, not analysed; a missing age drops no row.
  expect_identical(fit$details$group$other_rows, sum(grouped$school == "C"))
  expect_true(any(is.na(grouped$age) & complete & grouped$school != "C"))
})

test_that("the data frame call equals the call on the two samples", {
  items <- paste0("q", 1:10)
  a <- grouped[grouped$school == "A", items]
  b <- grouped[grouped$school == "B", items]
  two <- quick(a, b, na = "listwise", seed = 1, outputs = c("difficulties", "discriminations"))
  by_name <- quick(target = a, replication = b, na = "listwise", seed = 1,
                   outputs = c("difficulties", "discriminations"))
  # Names, ranges and positions select the same columns; with two levels the
  # first is the Target sample.
  two_levels <- grouped[grouped$school != "C", ]
  for (selection in list("q1:q10", items, c("q1:q5", "q6:q10"), 2:11, -c(1, 12, 13))) {
    one <- quick(two_levels, "school", items = selection, na = "listwise", seed = 1,
                 outputs = c("difficulties", "discriminations"))
    expect_identical(one$difficulties, two$difficulties)
    expect_identical(one$discriminations, two$discriminations)
  }
  expect_identical(by_name$discriminations, two$discriminations)
  # A group given as a vector, and a factor whose first level is B.
  expect_message(swapped <- quick(two_levels[items], group = factor(two_levels$school, levels = c("B", "A")),
                                  na = "listwise", seed = 1, outputs = "difficulties"),
                 "Items: all 10 columns \\(q1, q2")
  expect_identical(swapped$details$target_count, two$details$replication_count)
  expect_match(swapped$details$target, "group = B")
})

test_that("without items every column but the group's is an item, and the call says so", {
  small <- grouped[grouped$school != "C", c("q1", "q2", "q3", "q4", "school")]
  expect_message(fit <- quick(small, "school", na = "listwise", outputs = "difficulties", seed = 1),
                 "the 4 columns other than \"school\" \\(q1, q2, q3, q4\\)")
  expect_identical(fit$difficulties$item, c("q1", "q2", "q3", "q4"))
  # A column that is not a number is named, never analysed.
  expect_error(suppressMessages(quick(grouped[c("q1", "q2", "school", "id")], "school", target = "A",
                                      replication = "B", items = c("q1", "q2", "school"))),
               "group column \"school\" is among the items", class = "talver_items")
})

test_that("a score that is no category is refused with its row in the data frame", {
  half <- grouped
  # A row of school B after rows of school A and incomplete rows, so that its
  # place in the Replication sample is another.
  at <- max(which(half$school == "B" & stats::complete.cases(half[paste0("q", 1:10)])))
  half$q4[at] <- 2.5
  expect_error(quick(half, group = "school", items = "q1:q10", target = "A", replication = "B", na = "listwise",
                     dispersion = "polychoric"),
               paste0("item \"q4\" has the score 2.5 in row ", at, " of half \\(Replication sample\\)"),
               class = "talver_polychoric_categories")
})

test_that("groups and items that do not fit are refused with what to do", {
  refused <- function(pattern, class, ...) {
    expect_error(suppressMessages(quick(grouped, ...)), pattern, class = class)
  }
  refused("has 3 values \\(\"A\", \"B\", \"C\"\\); name the two samples", "talver_group", group = "school")
  refused("There is no group column \"class\"", "talver_group", group = "class")
  refused("No row has the value \"D\" in the group column \"school\"", "talver_group", group = "school",
          target = "A", replication = "D")
  refused("There is no column \"q11\" for items", "talver_items", group = "school", target = "A",
          replication = "B", items = "q1:q11")
  refused("runs backwards", "talver_items", group = "school", target = "A", replication = "B", items = "q10:q1")
  refused("28 rows with missing values \\(the first is row 41\\) in \"q3\", \"q8\".*na = \"listwise\"",
          "talver_missing_values", group = "school", target = "A", replication = "B", items = "q1:q10")
  refused("column \"age\" is not numeric|rows with missing values", "talver_error", group = "school",
          target = "A", replication = "B", items = c("q1", "age"))
})
