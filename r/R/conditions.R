# The package's errors and warnings are classed R conditions, so that
# tryCatch() and withCallingHandlers() can tell them apart: every error has
# the classes c(<kind>, "talver_error", "error", "condition"), every warning
# c(<kind>, "talver_warning", "warning", "condition"). See ?talver_conditions.

talver_abort <- function(message, kind = "talver_argument", ...) {
  stop(structure(class = c(kind, "talver_error", "error", "condition"),
                 list(message = message, call = NULL, ...)))
}

refuse <- function(..., kind = "talver_argument") talver_abort(paste0(...), kind)

talver_warn <- function(message, kind, ...) {
  warning(structure(class = c(kind, "talver_warning", "warning", "condition"),
                    list(message = message, call = NULL, ...)))
}

# The kind of an analysis's warning, from its text: the engine writes them
# for the report, naming the items by their columns' names.
warning_kind <- function(text) {
  patterns <- c(talver_heywood = "^Improper solution",
                talver_polychoric_categories = "^Polychoric correlation",
                talver_ml_convergence = "^ML method could",
                talver_item_variance = "has no variance in that sample|an item without variance",
                talver_singular = "is singular",
                talver_not_finite = "not finite numbers|cannot be computed")
  for (kind in names(patterns)) {
    if (grepl(patterns[[kind]], text)) return(kind)
  }
  "talver_analysis"
}

# The warnings of a run as R warnings, one per analysis that ended early or
# left a table out.
signal_warnings <- function(x) {
  for (k in seq_len(nrow(x$warnings))) {
    text <- x$warnings$text[k]
    talver_warn(paste0(x$warnings$section[k], ": ", text), warning_kind(text), section = x$warnings$section[k])
  }
}
