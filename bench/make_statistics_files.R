# Makes the statistics files of bench/statistics_memory.sh in the folder given
# as the first argument:
#   wide.sav   about 24 MB: a group variable with value labels and 49 items
#              of one-digit scores, byte-code compressed as SPSS writes them;
#   wide.dta   the same variables in fewer rows, about 24 MB;
#   bomb.zsav  a compressed SPSS file of about 160 KB that expands to 55
#              million cells (the same row over and over), past the cells a
#              table keeps.
# Usage: Rscript bench/make_statistics_files.R folder
library(haven)
folder <- commandArgs(trailingOnly = TRUE)[1]
set.seed(26)
scores <- function(rows) {
  m <- matrix(sample(1:5, rows * 49, replace = TRUE), ncol = 49)
  colnames(m) <- paste0("q", 1:49)
  as.data.frame(m)
}
wide <- function(rows) {
  group <- labelled(ifelse(seq_len(rows) %% 3 == 0, 2, 1), c(original = 1, retest = 2))
  cbind(data.frame(group = group), scores(rows))
}
write_sav(wide(470000), file.path(folder, "wide.sav"))
write_dta(wide(120000), file.path(folder, "wide.dta"))
rows <- 5000000
bomb <- data.frame(group = labelled(rep(1, rows), c(original = 1, retest = 2)))
for (j in 1:10) bomb[[paste0("q", j)]] <- rep(3, rows)
write_sav(bomb, file.path(folder, "bomb.zsav"), compress = "zsav")
