# The call on one data frame with a group column: which columns are the
# items, and which rows belong to the Target and the Replication sample.

# The positions of the item columns: names, ranges of names such as
# "q1:q10" (every column from the first to the second), or positions
# (all positive, or all negative to leave columns out). NULL takes every
# column but those in `besides`.
item_columns <- function(items, columns, besides = integer()) {
  if (is.null(items)) {
    return(setdiff(seq_along(columns), besides))
  }
  if (is.numeric(items)) {
    if (anyNA(items) || any(items != round(items)) || !(all(items > 0) || all(items < 0)) ||
        any(abs(items) > length(columns))) {
      refuse("items given by position must be whole numbers from 1 to ", length(columns),
             " (or all negative, to leave columns out); they are ", deparse1(items), ".",
             kind = "talver_items")
    }
    chosen <- seq_along(columns)[items]
    return(if (all(items < 0)) setdiff(chosen, besides) else chosen)
  }
  if (!is.character(items) || anyNA(items) || length(items) == 0) {
    refuse("items must be column names (\"q1\", or \"q1:q10\" for a range), column positions, or NULL for ",
           "every column.", kind = "talver_items")
  }
  position <- function(name) {
    at <- match(trimws(name), columns)
    if (is.na(at)) {
      refuse("There is no column \"", trimws(name), "\" for items. The columns are: ",
             paste(utils::head(columns, 30), collapse = ", "), if (length(columns) > 30) ", ...", ".",
             kind = "talver_items")
    }
    at
  }
  unlist(lapply(items, function(entry) {
    # A name that is itself a column's is taken as that name, so names with
    # a colon work too.
    if (entry %in% columns || !grepl(":", entry, fixed = TRUE)) {
      return(position(entry))
    }
    ends <- strsplit(entry, ":", fixed = TRUE)[[1]]
    if (length(ends) != 2) position(entry)
    from <- position(ends[1])
    to <- position(ends[2])
    if (from > to) {
      refuse("The range \"", entry, "\" runs backwards: \"", ends[1], "\" comes after \"", ends[2],
             "\" in the data. Give the first column first.", kind = "talver_items")
    }
    seq(from, to)
  }))
}

# The values of the group column as text, and the two that name the samples:
# by default the first two levels of the group factor (or of the sorted
# values), when there are only two.
group_values <- function(group, target, replication, group_name) {
  levels <- if (is.factor(group)) levels(droplevels(group)) else as.character(sort(unique(group)))
  text <- as.character(group)
  shown <- paste0('"', utils::head(levels, 10), '"', collapse = ", ")
  pick <- function(value, side) {
    if (is.null(value)) return(NULL)
    if (length(value) != 1 || is.na(value)) {
      refuse(side, " must be one value of the group column \"", group_name, "\".", kind = "talver_group")
    }
    value <- as.character(value)
    if (!(value %in% text)) {
      refuse("No row has the value \"", value, "\" in the group column \"", group_name, "\". Its values are: ",
             shown, if (length(levels) > 10) ", ...", ".", kind = "talver_group")
    }
    value
  }
  target <- pick(target, "target")
  replication <- pick(replication, "replication")
  if (is.null(target) || is.null(replication)) {
    others <- setdiff(levels, c(target, replication))
    needed <- sum(is.null(target), is.null(replication))
    if (length(others) != needed) {
      refuse("The group column \"", group_name, "\" has ", length(levels), " values (", shown,
             if (length(levels) > 10) ", ...", "); name the two samples with target = and replication =.",
             kind = "talver_group")
    }
    if (is.null(target)) {
      target <- others[1]
      others <- others[-1]
    }
    if (is.null(replication)) replication <- others[1]
  }
  if (identical(target, replication)) {
    refuse("target and replication are both \"", target, "\"; give each sample its own group value.",
           kind = "talver_group")
  }
  list(text = text, target = target, replication = replication)
}

# The two samples of one data frame: the item columns of the rows of each
# group. Rows of other groups, or without a group, are counted.
split_by_group <- function(data, group, items, target, replication, data_name) {
  if (!is.data.frame(data)) {
    if (!is.matrix(data)) {
      refuse("data must be a data frame (or a matrix with column names) holding the items and the group ",
             "column.", kind = "talver_argument")
    }
    data <- as.data.frame(data)
  }
  columns <- names(data)
  if (is.character(group) && length(group) == 1 && !is.na(group)) {
    at <- match(group, columns)
    if (is.na(at)) {
      refuse("There is no group column \"", group, "\" in ", data_name, ". Its columns are: ",
             paste(utils::head(columns, 30), collapse = ", "), if (length(columns) > 30) ", ...", ".",
             kind = "talver_group")
    }
    group_name <- group
    values <- data[[at]]
  } else if (is.atomic(group) && length(group) == nrow(data) && nrow(data) > 1) {
    at <- integer()
    group_name <- "group"
    values <- group
  } else {
    refuse("group must name the column of ", data_name, " that tells the samples apart, or be a vector with ",
           "one value per row.", kind = "talver_group")
  }
  chosen <- item_columns(items, columns, besides = at)
  if (length(at) == 1 && at %in% chosen) {
    refuse("The group column \"", group_name, "\" is among the items; leave it out of items.",
           kind = "talver_items")
  }
  split <- group_values(values, target, replication, group_name)
  in_target <- !is.na(split$text) & split$text == split$target
  in_replication <- !is.na(split$text) & split$text == split$replication
  rows <- if (is.null(rownames(data))) seq_len(nrow(data)) else rownames(data)
  list(target = data[in_target, chosen, drop = FALSE], replication = data[in_replication, chosen, drop = FALSE],
       target_rows = rows[in_target], replication_rows = rows[in_replication],
       target_positions = which(in_target), replication_positions = which(in_replication),
       target_name = paste0(data_name, " (", group_name, " = ", split$target, ")"),
       replication_name = paste0(data_name, " (", group_name, " = ", split$replication, ")"),
       group = list(column = group_name, target = split$target, replication = split$replication,
                    other_rows = sum(!in_target & !in_replication & !is.na(split$text)),
                    no_group_rows = sum(is.na(split$text))))
}
