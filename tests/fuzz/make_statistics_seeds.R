# Makes the seed files of the fuzz targets that read statistics packages'
# files: small SPSS (.sav and compressed .zsav), Stata and SAS files written by
# haven, each with a group variable (numeric with value labels, or a string
# with value labels), a few items, missing values of each kind and a string
# variable, so that the fuzzer starts from files that reach every handler.
# Run from this folder: Rscript make_statistics_seeds.R
library(haven)
set.seed(26)
n <- 12
items <- function() {
  m <- sapply(1:3, function(j) sample(1:5, n, replace = TRUE))
  m[2, 1] <- NA
  colnames(m) <- paste0("q", 1:3)
  as.data.frame(m)
}
numeric_group <- data.frame(group = labelled(rep(c(1, 2), length.out = n), c(original = 1, retest = 2)),
                            name = paste0("p", seq_len(n)), items(), stringsAsFactors = FALSE)
string_group <- data.frame(group = labelled(rep(c("o", "r"), length.out = n), c(original = "o", retest = "r")),
                           items(), stringsAsFactors = FALSE)
large_codes <- data.frame(group = rep(c(20200104, 20200103), length.out = n), items())
spss_missing <- numeric_group
spss_missing$q2 <- labelled_spss(replace(spss_missing$q2, 3, -9), na_values = -9)

folder <- function(name) {
  dir.create(file.path("corpus", name), showWarnings = FALSE, recursive = TRUE)
  file.path("corpus", name)
}
spss <- folder("spss_file_reader")
write_sav(spss_missing, file.path(spss, "numeric_group.sav"))
write_sav(string_group, file.path(spss, "string_group.sav"))
write_sav(large_codes, file.path(spss, "large_codes.zsav"), compress = "zsav")
stata <- folder("stata_file_reader")
write_dta(numeric_group, file.path(stata, "numeric_group.dta"))
write_dta(large_codes, file.path(stata, "large_codes.dta"), version = 13)
sas <- folder("sas_file_reader")
# haven writes SAS files only through its older writer; they are what the
# fuzzer mutates, not a model of every SAS version.
suppressWarnings(write_sas(zap_labels(numeric_group), file.path(sas, "numeric_group.sas7bdat")))
suppressWarnings(write_sas(large_codes, file.path(sas, "large_codes.sas7bdat")))
