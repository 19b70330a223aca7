# Reads the JSON companion that talver-batch writes with --json (or the
# window as output.json); see ?talver_read_json.
talver_read_json <- function(file) {
  if (!is.character(file) || length(file) != 1 || is.na(file)) {
    refuse("file must be the name of one JSON file written by talver-batch --json.")
  }
  if (!file.exists(file)) {
    refuse("The file \"", file, "\" does not exist; give the name of the file written by talver-batch --json.",
           kind = "talver_file")
  }
  raw <- tryCatch(jsonlite::fromJSON(file, simplifyVector = TRUE),
                  error = function(e) refuse("\"", file, "\" is not a JSON file: ", conditionMessage(e),
                                             kind = "talver_file"))
  if (!is.list(raw) || !identical(raw$program, "TALVER") || is.null(raw$samples) || is.null(raw$options)) {
    refuse("\"", file, "\" is not a file written by talver-batch --json: it lacks the program's name, ",
           "its samples or its options.", kind = "talver_file")
  }
  new_talver_result(raw)
}
