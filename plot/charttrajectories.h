#pragma once

#include <span>

class CTessavoxDoc;
struct AnalysisChart;

// A table measured at several points of each vowel (columns F1_20, F1_50, F1_80 and the
// same for F2 or F3) gives each token a path through them. Fills the chart's row paths
// and each group's mean path, in the chart's scale; says in its messages why there are
// none (no point columns, a normalised chart). `group` is each row's group, or -1.
void addTrajectories(AnalysisChart &chart, const CTessavoxDoc &doc, int horizontalColumn,
                     std::span<const int> group);
