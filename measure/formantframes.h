#pragma once

#include <array>
#include <span>
#include <vector>

// Formants of short-time frames of a signal at one ceiling, by the usual LPC analysis:
// pre-emphasis, a Gaussian window, Burg's predictor, its resonances, and the candidates
// between 50 Hz and the ceiling minus 50 Hz taken in order as F1, F2, F3. Pure functions.

struct FormantFrame
{
    // F1-F3 and their bandwidths in Hz; NaN where the frame has no such formant.
    std::array<double, 3> frequency;
    std::array<double, 3> bandwidth;
};

struct FrameSettings
{
    double ceiling = 5500;       // Hz; the signal is sampled at twice this
    double windowLength = 0.025; // s, effective; the Gaussian window spans twice this
    int formants = 5;            // the predictor's order is twice this
    double preEmphasisFrom = 50; // Hz
};

// Frames centred at `times` (s) of `signal`, sampled at 2 x settings.ceiling, whose sample 0
// is at time `signalStart`. Samples a window needs beyond the signal count as silence.
std::vector<FormantFrame> AnalyseFrames(std::span<const float> signal, double signalStart,
                                        std::span<const double> times,
                                        const FrameSettings &settings);
