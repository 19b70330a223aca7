# Reads the JSON companion that talver-batch writes with --json (or the
# window as output.json); see ?talver_read_json.
talver_read_json <- function(file) {
  if (!is.character(file) || length(file) != 1 || is.na(file)) {
    refuse("file must be the name of one JSON file written by talver-batch --json.")
  }
  if (!file.exists(file)) {
    refuse("The file \"", file, "\" does not exist; give the name of the file written by talver-batch --json.")
  }
  raw <- tryCatch(jsonlite::fromJSON(file, simplifyVector = TRUE),
                  error = function(e) refuse("\"", file, "\" is not a JSON file: ", conditionMessage(e)))
  if (!is.list(raw) || !identical(raw$program, "TALVER") || is.null(raw$samples) || is.null(raw$options)) {
    refuse("\"", file, "\" is not a file written by talver-batch --json: it lacks the program's name, ",
           "its samples or its options.")
  }
  s <- raw$samples
  o <- raw$options
  dispersion <- o$dispersion
  details <- list(target = s$targetFile, target_count = as.integer(s$targetCount), target_dropped = 0L,
                  replication = s$replicationFile, replication_count = as.integer(s$replicationCount),
                  replication_dropped = 0L, items = if (is.null(s$itemNames)) as.character(seq_len(s$items)) else as.character(s$itemNames),
                  factors = as.integer(o$factors), method = tolower(o$method), dispersion = dispersion,
                  samples = as.integer(o$bootstrapSamples), alpha = o$alpha,
                  lowest = if (dispersion == "polychoric") as.integer(o$lowestScore),
                  highest = if (dispersion == "polychoric") as.integer(o$highestScore), seed = 1)
  new_talver_result(raw, details)
}
