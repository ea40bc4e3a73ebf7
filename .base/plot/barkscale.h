#pragma once

// Hertz to Bark (critical-band rate), the scale of every vowel chart.
// 13 * atan(0.00076 f) + 3.5 * atan((f / 7500)^2), evaluated step by step in a fixed
// order so that charts land on the same device units wherever they are drawn.
// Pure: no state; 0 Hz gives exactly 0 and the result rises with f.
double HzToBark(int hz);
