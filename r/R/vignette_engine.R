# A vignette engine that needs neither pandoc nor LaTeX: the vignette is an
# HTML file whose R code chunks stand between a line "<!--begin.rcode" and a
# line "end.rcode-->". Weaving replaces each chunk with its code and what it
# prints, and with the plots it draws as embedded PNG images.

.onLoad <- function(libname, pkgname) {
  tools::vignetteEngine("html", weave = weave_html, tangle = tangle_html, pattern = "[.]Rhtml$",
                        package = pkgname)
}

html_escape <- function(text) {
  text <- gsub("&", "&amp;", text, fixed = TRUE)
  text <- gsub("<", "&lt;", text, fixed = TRUE)
  gsub(">", "&gt;", text, fixed = TRUE)
}

# The file as text lines and chunks: list(kind = "text" or "code", lines).
vignette_parts <- function(file) {
  lines <- readLines(file, encoding = "UTF-8", warn = FALSE)
  starts <- grep("^<!--begin\\.rcode[[:space:]]*$", lines)
  ends <- grep("^end\\.rcode-->[[:space:]]*$", lines)
  if (length(starts) != length(ends) || any(ends <= starts) || any(utils::head(ends, -1) >= starts[-1])) {
    stop(file, ": every \"<!--begin.rcode\" line needs its own \"end.rcode-->\" line after it", call. = FALSE)
  }
  parts <- list()
  at <- 1
  for (k in seq_along(starts)) {
    if (starts[k] > at) parts[[length(parts) + 1]] <- list(kind = "text", lines = lines[at:(starts[k] - 1)])
    code <- if (ends[k] > starts[k] + 1) lines[(starts[k] + 1):(ends[k] - 1)] else character()
    parts[[length(parts) + 1]] <- list(kind = "code", lines = code)
    at <- ends[k] + 1
  }
  if (at <= length(lines)) parts[[length(parts) + 1]] <- list(kind = "text", lines = lines[at:length(lines)])
  parts
}

# Runs one chunk in `env`: its code and printed output as HTML, then its plots.
woven_chunk <- function(code, env, figures) {
  expressions <- parse(text = code, keep.source = TRUE)
  sources <- vapply(attr(expressions, "srcref"), function(ref) paste(as.character(ref), collapse = "\n"),
                    character(1))
  html <- character()
  for (k in seq_along(expressions)) {
    shown <- utils::capture.output({
      value <- withVisible(eval(expressions[[k]], env))
      if (value$visible) print(value$value)
    })
    html <- c(html, paste0("<pre class=\"r\"><code>", html_escape(sources[k]), "</code></pre>"))
    if (length(shown) > 0) {
      html <- c(html, paste0("<pre class=\"output\"><code>", html_escape(paste(shown, collapse = "\n")),
                             "</code></pre>"))
    }
  }
  grDevices::dev.off()
  for (figure in Filter(file.exists, sprintf(figures, seq_len(20)))) {
    image <- jsonlite::base64_enc(readBin(figure, "raw", file.info(figure)$size))
    html <- c(html, paste0("<p><img alt=\"plot\" src=\"data:image/png;base64,", image, "\"></p>"))
    unlink(figure)
  }
  html
}

weave_html <- function(file, quiet = FALSE, encoding = "UTF-8", ...) {
  env <- new.env(parent = globalenv())
  figures <- file.path(tempdir(), paste0("talver-vignette-", Sys.getpid(), "-%03d.png"))
  output <- character()
  for (part in vignette_parts(file)) {
    if (part$kind == "text") {
      output <- c(output, part$lines)
    } else {
      grDevices::png(figures, width = 720, height = 480, res = 96)
      output <- c(output, woven_chunk(part$lines, env, figures))
    }
  }
  out <- sub("[.]Rhtml$", ".html", basename(file))
  writeLines(output, out, useBytes = TRUE)
  out
}

tangle_html <- function(file, quiet = FALSE, encoding = "UTF-8", ...) {
  code <- unlist(lapply(Filter(function(part) part$kind == "code", vignette_parts(file)),
                        function(part) c(part$lines, "")))
  out <- sub("[.]Rhtml$", ".R", basename(file))
  writeLines(code, out)
  out
}
