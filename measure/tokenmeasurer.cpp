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
// The most frames a ceiling is judged on; a longer interval is judged on every second or
// third frame. Enough for a quadratic fit to expose a jump, and it bounds the work per token.
constexpr int kJudgedFrames = 16;
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
{
    for (double &ceiling : m_settings.ceilings) {
        ceiling = std::min(ceiling, 0.5 * m_audio.sampleRate);
        m_resamplers.emplace_back(m_audio.sampleRate, 2 * ceiling);
    }
}

QString TokenMeasurer::error() const
{
    for (const Resampler &resampler : m_resamplers) {
        if (!resampler.error().isEmpty())
            return resampler.error();
    }
    return {};
}

TokenMeasurer::Result TokenMeasurer::measure(double start, double end,
                                             std::span<const double> points)
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
    // The frames the ceiling is judged on: those inside the interval, or the middle ones,
    // thinned to at most kJudgedFrames through the middle frame.
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
    const std::size_t stride =
        std::max<std::size_t>(1, (last - first + kJudgedFrames - 1) / std::size_t(kJudgedFrames));
    std::vector<double> judgedTimes;
    std::vector<std::size_t> judged;
    for (std::size_t j = std::size_t(half) % stride; j < last; j += stride) {
        if (j >= first) {
            judged.push_back(j);
            judgedTimes.push_back(times[j]);
        }
    }
    // The frames the points are read from: the two around each.
    std::vector<std::size_t> needed;
    for (double point : points) {
        const double t = start + point / 100 * (end - start);
        const auto upper = std::size_t(std::clamp<std::ptrdiff_t>(
            std::upper_bound(times.begin(), times.end(), t) - times.begin(), 1,
            std::ptrdiff_t(times.size()) - 1));
        needed.push_back(upper - 1);
        needed.push_back(upper);
    }
    std::sort(needed.begin(), needed.end());
    needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
    std::vector<double> neededTimes;
    for (std::size_t j : needed)
        neededTimes.push_back(times[j]);

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
    std::vector<std::vector<float>> resampled(count);
    std::vector<double> scores(count, 0.0);
    std::vector<int> complete(count, 0);
    std::vector<FrameSettings> settings(count, m_settings.frame);
    for (std::size_t c = 0; c < count; ++c) {
        settings[c].ceiling = m_settings.ceilings[c];
        resampled[c] = m_resamplers[c].process(segment);
        // One ceiling is a fixed analysis: nothing to judge.
        if (count == 1)
            break;
        const std::vector<FormantFrame> frames =
            AnalyseFrames(resampled[c], segmentStart, judgedTimes, settings[c]);
        scores[c] = TrackIrregularity(frames, judgedTimes);
        complete[c] = completeFrames(frames);
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
    result.ceiling = settings[chosen].ceiling;
    std::vector<FormantFrame> best(times.size(),
                                   FormantFrame{{kNaN, kNaN, kNaN}, {kNaN, kNaN, kNaN}});
    const std::vector<FormantFrame> read =
        AnalyseFrames(resampled[chosen], segmentStart, neededTimes, settings[chosen]);
    for (std::size_t i = 0; i < needed.size(); ++i)
        best[needed[i]] = read[i];
    for (std::size_t p = 0; p < points.size(); ++p) {
        const double t = start + points[p] / 100 * (end - start);
        for (std::size_t f = 0; f < 3; ++f) {
            result.frequencies[p][f] = interpolate(times, best, t, f, false);
            result.bandwidths[p][f] = interpolate(times, best, t, f, true);
        }
    }
    return result;
}
