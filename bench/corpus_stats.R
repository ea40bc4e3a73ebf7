# The same numbers as `tessavox-batch stats FILE --normalize lobanov --group vowel` in base R:
# per speaker z-scores of F1 and F2 (sample SD), then per vowel n, means, SDs and covariance
# of (x = F2, y = F1). Usage: Rscript corpus_stats.R CORPUS.tsv OUT.tsv
args <- commandArgs(trailingOnly = TRUE)
d <- read.delim(args[1])
z <- function(v) (v - mean(v)) / sd(v)
x <- ave(d$F2, d$speaker, FUN = z)
y <- ave(d$F1, d$speaker, FUN = z)
groups <- unique(d$vowel)
rows <- lapply(groups, function(v) {
  k <- d$vowel == v
  data.frame(group = v, n = sum(k), mean_x = mean(x[k]), mean_y = mean(y[k]),
             sd_x = sd(x[k]), sd_y = sd(y[k]), cov_xy = cov(x[k], y[k]))
})
out <- do.call(rbind, rows)
write.table(format(out, digits = 17), args[2], sep = "\t", quote = FALSE, row.names = FALSE)
