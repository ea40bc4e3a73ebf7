# The Praat peer for the batch chart benchmark: the F1-F2 chart that
# `tessavox-batch chart FILE --plot f1f2 -o OUT.png` draws, from the same tokens given as
# a tab-separated table (F1, F2, F3, vowel): Bark axes, every token as its label, and per
# vowel the 2-SD ellipse, saved as an 800 x 600 PNG.
#   praat --run peer_chart.praat TABLE.tsv OUT.png
form Chart
    sentence table
    sentence out
endform
Read Table from tab-separated file: table$
Formula: "F1", "13 * arctan (0.00076 * self) + 3.5 * arctan ((self / 7500) ^ 2)"
Formula: "F2", "13 * arctan (0.00076 * self) + 3.5 * arctan ((self / 7500) ^ 2)"
Remove column: "F3"
Down to TableOfReal: "vowel"
Erase all
Select outer viewport: 0, 8/3, 0, 2
Font size: 8
Draw scatter plot: 2, 1, 0, 0, 0, 0, 0, 0, 8, "yes", "+", "yes"
To Discriminant
Draw sigma ellipses: 2, "no", 2, 1, 0, 0, 0, 0, 8, "no"
Save as 300-dpi PNG file: out$
