#pragma once

#include "chartrenderer.h"

#include <QString>

#include <optional>
#include <utility>

// Option values shared by the chart commands of tessavox-batch.

// "f1f2" or "f1f3" as given to --plot.
std::optional<ChartKind> parseChartKind(const QString &text);
// ORDER=TEXT as given to --label, with ORDER an order that can carry a label.
std::optional<std::pair<int, QString>> parseLabelChoice(const QString &text);
