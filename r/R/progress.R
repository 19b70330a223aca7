# The progress bar of a call: one bar per bootstrap, drawn as
# utils::txtProgressBar(style = 3) draws it, but through message(), so that
# suppressMessages() silences it as it silences the package's other notes.
console_progress <- function() {
  section <- ""
  drawn <- FALSE
  function(name, share) {
    if (drawn && !identical(name, section)) {
      message("")
      drawn <<- FALSE
    }
    section <<- name
    if (is.na(share) || !nzchar(name)) {
      return(invisible())
    }
    label <- sub(" *[.]+$", "", name)
    width <- max(10L, min(50L, getOption("width", 80L) - nchar(label) - 10L))
    done <- round(share * width)
    message(sprintf("\r%s |%s%s| %3d%%", label, strrep("=", done), strrep(" ", width - done),
                    round(100 * share)), appendLF = FALSE)
    drawn <<- TRUE
    invisible()
  }
}
