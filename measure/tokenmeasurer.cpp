#include "measure/tokenmeasurer.h"

#include "measure/ceilingchoice.h"
#include "measure/resampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The fewest frames a ceiling is judged on; a shorter interval borrows the signal around it.
constexpr int kFewestFrames = 5;
// Signal read beyond the outermost windows, so that the resampler's and the pre-emphasis's
// edges fall outside every frame.
constexpr double kSegmentMargin = 0.02;

int completeFrames(const std::vector<FormantFrame> &frames)
{
    int complete = 0;
    for (const FormantFrame &frame : frames)
        complete += std::all_of(frame.frequency.begin(), frame.frequency.end(),
                                [](double f) { return std::isfinite(f); });
    return complete;
}

// The value of one formant at time `t`, linear between the frames around it; NaN when either
// frame lacks it (unless `t` is a frame's own time).
double interpolate(const std::vector<double> &times, const std::vector<FormantFrame> &frames,
                   double t, std::size_t formant, bool bandwidth)
{
    const auto value = [&](std::size_t j) {
        return bandwidth ? frames[j].bandwidth[formant] : frames[j].frequency[formant];
    };
    if (times.empty())
        return kNaN;
    if (t <= times.front())
        return value(0);
    if (t >= times.back())
        return value(times.size() - 1);
    const auto upper = std::size_t(std::upper_bound(times.begin(), times.end(), t) - times.begin());
    const std::size_t lower = upper - 1;
    const double span = times[upper] - times[lower];
    const double w = span > 0 ? (t - times[lower]) / span : 0;
    if (w < 1e-9)
        return value(lower);
    if (w > 1 - 1e-9)
        return value(upper);
    return (1 - w) * value(lower) + w * value(upper);
}

} // namespace

TokenMeasurer::TokenMeasurer(const AudioSignal &audio, Settings settings)
    : m_audio(audio), m_settings(std::move(settings))
{}

TokenMeasurer::Result TokenMeasurer::measure(double start, double end,
                                             std::span<const double> points) const
{
    Result result;
    result.frequencies.assign(points.size(), {kNaN, kNaN, kNaN});
    result.bandwidths.assign(points.size(), {kNaN, kNaN, kNaN});
    if (m_settings.ceilings.empty() || m_audio.samples.empty() || !(end >= start))
        return result;

    // Frames on a grid through the middle, so that the 50% point is a frame of its own.
    const double step = m_settings.frameStep;
    const double middle = 0.5 * (start + end);
    const int half = std::max(kFewestFrames / 2, int(std::ceil(0.5 * (end - start) / step)) + 1);
    std::vector<double> times;
    for (int k = -half; k <= half; ++k)
        times.push_back(middle + k * step);
    // The frames the ceiling is judged on: those inside the interval, or the middle ones.
    std::size_t first = 0;
    std::size_t last = times.size();
    while (first < times.size() && times[first] < start)
        ++first;
    while (last > first && times[last - 1] > end)
        --last;
    if (last - first < std::size_t(kFewestFrames)) {
        first = std::size_t(half - kFewestFrames / 2);
        last = first + kFewestFrames;
    }

    const double rate = m_audio.sampleRate;
    const double reach = m_settings.frame.windowLength + kSegmentMargin;
    const auto total = std::ptrdiff_t(m_audio.samples.size());
    const auto from = std::clamp(std::ptrdiff_t(std::floor((times.front() - reach) * rate)),
                                 std::ptrdiff_t(0), total);
    const auto to =
        std::clamp(std::ptrdiff_t(std::ceil((times.back() + reach) * rate)), from, total);
    const std::span<const float> segment(m_audio.samples.data() + from, std::size_t(to - from));
    const double segmentStart = double(from) / rate;

    const std::size_t count = m_settings.ceilings.size();
    std::vector<std::vector<FormantFrame>> analyses(count);
    std::vector<double> scores(count);
    std::vector<int> complete(count);
    std::vector<double> used(count);
    for (std::size_t c = 0; c < count; ++c) {
        FrameSettings frame = m_settings.frame;
        frame.ceiling = std::min(m_settings.ceilings[c], 0.5 * rate);
        used[c] = frame.ceiling;
        const std::vector<float> resampled = Resample(segment, rate, 2 * frame.ceiling);
        analyses[c] = AnalyseFrames(resampled, segmentStart, times, frame);
        const std::span<const FormantFrame> judged(analyses[c].data() + first, last - first);
        scores[c] =
            TrackIrregularity(judged, std::span<const double>(times.data() + first, last - first));
        complete[c] = completeFrames(analyses[c]);
    }
    std::size_t chosen = 0;
    for (std::size_t c = 1; c < count; ++c) {
        // Ties and all-irregular cases go to the analysis that found the most formants.
        if (scores[c] < scores[chosen] ||
            (!std::isfinite(scores[chosen]) && !std::isfinite(scores[c]) &&
             complete[c] > complete[chosen]))
            chosen = c;
    }
    if (std::isfinite(scores[chosen])) {
        const double enough = scores[chosen] * kRegularEnough;
        for (std::size_t c = 0; c < chosen; ++c) {
            if (scores[c] <= enough) {
                chosen = c;
                break;
            }
        }
    }
    const std::vector<FormantFrame> &best = analyses[chosen];
    result.ceiling = used[chosen];
    for (std::size_t p = 0; p < points.size(); ++p) {
        const double t = start + points[p] / 100 * (end - start);
        for (std::size_t f = 0; f < 3; ++f) {
            result.frequencies[p][f] = interpolate(times, best, t, f, false);
            result.bandwidths[p][f] = interpolate(times, best, t, f, true);
        }
    }
    return result;
}
