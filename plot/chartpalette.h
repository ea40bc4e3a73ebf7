#pragma once

#include <QColor>

// Colours of the groups of a coloured chart: a qualitative palette that readers with
// any common colour-vision deficiency can still tell apart, and that survives printing
// in grey better than a rainbow.
namespace ChartPalette {

// How many distinct hues there are; groups beyond them repeat the hues, darker.
int size();
// The colour of group `index` (any index >= 0; a negative one gives black).
QColor colour(int index);

} // namespace ChartPalette
