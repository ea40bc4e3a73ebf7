#include "measure/formantframes.h"

#include "measure/lpc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Candidates this close to 0 Hz or to the ceiling are the spectrum's edges, not formants.
constexpr double kEdgeMargin = 50;

// exp(-12 x^2) over the window, lowered and rescaled to reach 0 at its ends: its effective
// length is about half its span.
std::vector<double> gaussianWindow(int length)
{
    std::vector<double> window(std::size_t(length > 0 ? length : 0));
    const double edge = std::exp(-12.0);
    for (int i = 0; i < length; ++i) {
        const double x = (i + 0.5) / length - 0.5;
        window[std::size_t(i)] = (std::exp(-12 * x * x) - edge) / (1 - edge);
    }
    return window;
}

} // namespace

std::vector<FormantFrame> AnalyseFrames(std::span<const float> signal, double signalStart,
                                        std::span<const double> times,
                                        const FrameSettings &settings)
{
    const double rate = 2 * settings.ceiling;
    std::vector<FormantFrame> frames(times.size());
    for (FormantFrame &frame : frames) {
        frame.frequency.fill(kNaN);
        frame.bandwidth.fill(kNaN);
    }
    if (signal.empty() || !(rate > 0))
        return frames;

    // A first-order pre-emphasis lifting the spectrum by 6 dB/octave above the given
    // frequency, so the higher formants weigh in the predictor as much as F1.
    const double alpha = std::exp(-2 * std::numbers::pi * settings.preEmphasisFrom / rate);
    std::vector<double> emphasised(signal.size());
    emphasised[0] = signal[0];
    for (std::size_t i = 1; i < signal.size(); ++i)
        emphasised[i] = double(signal[i]) - alpha * double(signal[i - 1]);

    const int length = std::max(1, int(std::lround(2 * settings.windowLength * rate)));
    const std::vector<double> window = gaussianWindow(length);
    const int order = 2 * settings.formants;
    std::vector<double> frame(std::size_t(length), 0.0);
    const auto count = std::ptrdiff_t(emphasised.size());
    for (std::size_t f = 0; f < times.size(); ++f) {
        const auto first =
            std::ptrdiff_t(std::lround((times[f] - signalStart) * rate - 0.5 * length));
        for (int i = 0; i < length; ++i) {
            const std::ptrdiff_t at = first + i;
            frame[std::size_t(i)] =
                at >= 0 && at < count ? emphasised[std::size_t(at)] * window[std::size_t(i)] : 0;
        }
        const std::vector<double> a = BurgCoefficients(frame, order);
        if (a.empty())
            continue;
        int formant = 0;
        for (const Resonance &r : PredictorResonances(a, rate)) {
            if (r.frequency < kEdgeMargin || r.frequency > settings.ceiling - kEdgeMargin)
                continue;
            if (formant >= 3)
                break;
            frames[f].frequency[std::size_t(formant)] = r.frequency;
            frames[f].bandwidth[std::size_t(formant)] = r.bandwidth;
            ++formant;
        }
    }
    return frames;
}
