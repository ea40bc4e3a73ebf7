# The peer for the batch chart benchmark: base R drawing the F1-F2 chart that
# `tessavox-batch chart FILE --plot f1f2 -o OUT.png` draws, from the same Formant file:
# Bark axes running right to left and top to bottom, every token as its label, and per
# vowel of three or more tokens a mean disc, a bold label and the 2-SD population ellipse.
#   Rscript peer_chart.R FILE OUT.png
args <- commandArgs(trailingOnly = TRUE)
lines <- readLines(args[1], warn = FALSE)
m <- regmatches(lines, regexec('^[^0-9]*([0-9]+)[ \t,]+([0-9]+)[ \t,]+([0-9]+)[ \t,]+"([^"]*)"',
                               lines, useBytes = TRUE))
m <- do.call(rbind, m[lengths(m) == 5])
bark <- function(f) 13 * atan(0.00076 * f) + 3.5 * atan((f / 7500)^2)
x <- bark(as.numeric(m[, 3]))
y <- bark(as.numeric(m[, 2]))
label <- m[, 5]
png(args[2], width = 800, height = 600)
plot(x, y, type = "n", xlim = rev(range(x)), ylim = rev(range(y)),
     xlab = "F2 (Bark)", ylab = "F1 (Bark)")
text(x, y, label, cex = 0.8)
steps <- seq(0, 2 * pi, length.out = 200)
for (v in unique(label)) {
    i <- label == v
    n <- sum(i)
    if (n < 3) next
    mx <- mean(x[i])
    my <- mean(y[i])
    e <- eigen(cov(cbind(x[i], y[i])), symmetric = TRUE)
    r <- 2 * sqrt((n - 1) / n)
    outline <- e$vectors %*% (r * sqrt(pmax(e$values, 0)) * rbind(cos(steps), sin(steps)))
    lines(outline[1, ] + mx, outline[2, ] + my)
    points(mx, my, pch = 19)
    text(mx, my, v, font = 2, pos = 4)
}
invisible(dev.off())
