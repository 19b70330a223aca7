# Writes the text report of a run; see ?talver_report.
talver_report <- function(x, file = "", overwrite = FALSE) {
  if (!inherits(x, "talver_invariance")) {
    refuse("x must be the result of talver_invariance().")
  }
  if (is.null(x$report)) {
    refuse("This result has no text report: it was read from a JSON file. The report of that run is the text ",
           "file talver-batch wrote beside it.")
  }
  if (!is.character(file) || length(file) != 1 || is.na(file)) {
    refuse("file must be one file name, or \"\" for the console.")
  }
  if (!nzchar(file)) {
    cat(x$report)
    return(invisible(x))
  }
  if (file.exists(file) && !isTRUE(overwrite)) {
    refuse("\"", file, "\" exists already; choose another name or call with overwrite = TRUE to replace it.")
  }
  connection <- tryCatch(file(file, open = "wb"), error = function(e) NULL, warning = function(w) NULL)
  if (is.null(connection)) {
    refuse("\"", file, "\" cannot be opened for writing; check that its folder exists and that you may ",
           "write there.")
  }
  on.exit(close(connection))
  writeBin(charToRaw(x$report), connection)
  invisible(x)
}
