# Checks of the arguments of talver_invariance(). Each refusal is an R error
# that names the argument, says what is wrong and what to do. The limits are
# those of talver-batch's dialogs.

most_items <- 5000
most_sample_values <- 2^27
most_work_values <- 2^27
most_factors <- 100
fewest_samples <- 500
most_samples <- 5000

is_whole_number <- function(x) {
  is.numeric(x) && length(x) == 1 && !is.na(x) && is.finite(x) && x == round(x)
}

# The names psych and lavaan users type for the same choices, in any case.
choice_aliases <- list(
  method = c(uls = "uls", minres = "uls", pca = "pca", pc = "pca", ml = "ml"),
  dispersion = c(covariance = "covariance", cov = "covariance", pearson = "pearson", cor = "pearson",
                 polychoric = "polychoric", poly = "polychoric"),
  na = c(fail = "fail", listwise = "listwise"))

choose_one <- function(value, name, choices) {
  if (identical(value, choices)) {
    return(choices[[1]])
  }
  aliases <- choice_aliases[[name]]
  chosen <- if (is.character(value) && length(value) == 1 && !is.na(value)) aliases[tolower(value)] else NA
  if (is.na(chosen)) {
    refuse(name, " must be one of ", paste0('"', names(aliases), '"', collapse = ", "), " (in any case); it is ",
           deparse1(value), ".")
  }
  unname(chosen)
}

whole_number_between <- function(value, name, lowest, highest, why = "") {
  if (!is_whole_number(value)) {
    refuse(name, " must be one whole number; it is ", deparse1(value), ".")
  }
  if (value < lowest || value > highest) {
    refuse(name, " must lie between ", lowest, " and ", highest, why, "; it is ", value, ".")
  }
  as.integer(value)
}

# How the report names a sample: the expression given for it, unless that is
# long or a value itself (as when the call was made by do.call).
sample_name <- function(expression, default) {
  if (!is.name(expression) && !is.call(expression)) {
    return(default)
  }
  text <- deparse1(expression)
  if (nchar(text) > 60) default else text
}

# A sample as a numeric matrix of item scores without missing values, with
# what listwise deletion left out ("losses", in the JSON's terms) and where
# each row it kept stands in the data the user gave ("origin": the data's
# name and the rows' positions in it). `rows` names the rows in messages.
sample_matrix <- function(x, name, na, rows = seq_len(NROW(x)),
                          origin = list(name = name, rows = seq_len(NROW(x)))) {
  if (is.data.frame(x)) {
    numeric_columns <- vapply(x, function(column) is.numeric(column) && !is.factor(column), logical(1))
    if (!all(numeric_columns)) {
      bad <- names(x)[!numeric_columns]
      refuse(name, ": column", if (length(bad) > 1) "s " else " ",
             paste0('"', bad, '"', collapse = ", "), " ",
             if (length(bad) > 1) "are" else "is", " not numeric; item scores must be numbers. ",
             "Convert ", if (length(bad) > 1) "them" else "it", " with as.numeric() or leave ",
             if (length(bad) > 1) "them" else "it", " out.")
    }
    x <- as.matrix(x)
  }
  if (!is.matrix(x) || !is.numeric(x)) {
    refuse(name, " must be a numeric matrix or a data frame of numeric columns (one row per participant, ",
           "one column per item).")
  }
  storage.mode(x) <- "double"
  missing_rows <- !stats::complete.cases(x)
  losses <- list(rowsRead = nrow(x), rowsDropped = sum(missing_rows),
                 missingPerItem = as.integer(colSums(is.na(x))))
  # An item that no row answers leaves no complete row: it is the cause.
  never <- if (nrow(x) > 0) which(losses$missingPerItem == nrow(x)) else integer()
  never_said <- if (length(never) > 0) {
    shown <- if (is.null(colnames(x))) as.character(never) else paste0('"', colnames(x)[never], '"')
    if (length(shown) > 1) shown <- c(paste(utils::head(shown, -1), collapse = ", "), utils::tail(shown, 1))
    paste0(" The item", if (length(never) > 1) "s", " ", paste(shown, collapse = " and "),
           if (length(never) > 1) " are" else " is", " missing (NA) in every row of the sample: leave ",
           if (length(never) > 1) "them" else "it", " out of the items.")
  } else ""
  if (any(missing_rows)) {
    if (na == "fail") {
      items <- colnames(x)[colSums(is.na(x)) > 0]
      refuse(name, " has ", sum(missing_rows), " row", if (sum(missing_rows) > 1) "s", " with missing values ",
             "(the first is row ", rows[which(missing_rows)[1]], ")",
             if (length(items) > 0) paste0(" in ", paste0('"', utils::head(items, 5), '"', collapse = ", "),
                                           if (length(items) > 5) ", ..."),
             ".", if (nzchar(never_said)) never_said else
               " Call with na = \"listwise\" to leave those rows out, or choose the complete cases yourself.",
             kind = "talver_missing_values")
    }
    x <- x[!missing_rows, , drop = FALSE]
    origin$rows <- origin$rows[!missing_rows]
  }
  if (any(is.infinite(x))) {
    refuse(name, " holds values that are not finite numbers (Inf or -Inf); correct or remove them.")
  }
  if (nrow(x) == 0) {
    refuse(name, " has no participants", if (any(missing_rows)) " with complete values", ".", never_said,
           kind = "talver_sample_size")
  }
  attr(x, "losses") <- losses
  attr(x, "origin") <- origin
  x
}

# Each sample needs two rows more than there are items, as talver-batch
# requires of the samples it reads.
check_enough_rows <- function(x, side, name) {
  needed <- ncol(x) + 2
  if (nrow(x) < needed) {
    dropped <- attr(x, "losses")$rowsDropped
    refuse("The ", side, " sample (", name, ") has ", nrow(x), " complete rows",
           if (dropped > 0) paste0(" after ", dropped, " rows with missing values were left out"),
           "; with ", ncol(x), " items the analyses need at least ", needed,
           ". Choose fewer items or a larger sample.", kind = "talver_sample_size")
  }
}

# The item names from the column names, or their numbers.
item_names <- function(target, replication, target_name, replication_name) {
  a <- colnames(target)
  b <- colnames(replication)
  if (!is.null(a) && !is.null(b) && !identical(a, b)) {
    at <- which(a != b)[1]
    refuse("The items of ", target_name, " and ", replication_name, " differ: column ", at, " is \"", a[at],
           "\" in one and \"", b[at], "\" in the other. Both samples need the same items in the same order.")
  }
  names <- if (!is.null(a)) a else b
  if (is.null(names)) as.character(seq_len(ncol(target))) else names
}

# The lowest and highest scores that the two samples hold, truncated toward
# zero and held within the range of an integer.
observed_range <- function(target, replication) {
  held <- function(value) as.integer(max(min(trunc(value), .Machine$integer.max), -.Machine$integer.max))
  values <- c(range(target), range(replication))
  c(held(min(values)), held(max(values)))
}

score_range <- function(lowest, highest, dispersion, observed) {
  if (dispersion != "polychoric") {
    if (!is.null(lowest) || !is.null(highest)) {
      refuse("lowest and highest set the score range of polychoric correlations; ",
             "add dispersion = \"polychoric\" or leave them out.")
    }
    return(observed)
  }
  chosen <- observed
  if (!is.null(lowest)) {
    if (!is_whole_number(lowest)) refuse("lowest must be one whole number; it is ", deparse1(lowest), ".")
    if (lowest > observed[1]) {
      refuse("lowest is ", lowest, ", above the lowest score in the data (", observed[1], "); ",
             "set lowest to ", observed[1], " or less, or leave it out to use the data's.")
    }
    chosen[1] <- lowest
  }
  if (!is.null(highest)) {
    if (!is_whole_number(highest)) refuse("highest must be one whole number; it is ", deparse1(highest), ".")
    if (highest < observed[2]) {
      refuse("highest is ", highest, ", below the highest score in the data (", observed[2], "); ",
             "set highest to ", observed[2], " or more, or leave it out to use the data's.")
    }
    chosen[2] <- highest
  }
  if (chosen[1] < -.Machine$integer.max || chosen[2] > .Machine$integer.max) {
    refuse("lowest and highest must lie within the range of an integer.")
  }
  as.integer(chosen)
}

# The work matrices must fit in memory, as talver-batch's dialogs require.
check_work_size <- function(samples, items, factors, dispersion, range) {
  if (2 * samples * items * (factors + 1) > most_work_values) {
    refuse("The bootstrap samples of ", items, " items with ", factors, " factors do not fit in memory ",
           samples, " times. Choose fewer samples or factors.")
  }
  if (dispersion == "polychoric") {
    categories <- range[2] - range[1] + 1
    tables <- 2 * (categories^2 * items * (items - 1) / 2 + items * (categories - 1))
    if (tables > most_work_values) {
      refuse("Polychoric correlations cannot be computed for scores from ", range[1], " to ", range[2],
             ": the tables of ", categories, " categories for ", items, " items do not fit in memory. ",
             "Check the data, or choose dispersion = \"covariance\" or \"pearson\".")
    }
  }
}

all_outputs <- c("difficulties", "discriminations", "residual_variances", "hotelling", "congruence",
                 "discrepancy")

check_outputs <- function(outputs, dispersion, given) {
  if (!is.character(outputs) || anyNA(outputs) || !all(outputs %in% all_outputs)) {
    unknown <- if (is.character(outputs)) setdiff(outputs, all_outputs) else deparse1(outputs)
    refuse("outputs must name some of ", paste0('"', all_outputs, '"', collapse = ", "), "; ",
           paste0('"', unknown, '"', collapse = ", "), " is not one of them.")
  }
  if (given && "residual_variances" %in% outputs && dispersion != "covariance") {
    refuse("Residual variances are computed with covariances only: choose dispersion = \"covariance\" ",
           "or leave \"residual_variances\" out of outputs.")
  }
  unique(outputs)
}
