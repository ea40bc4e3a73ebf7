#include "measure/ceilingchoice.h"

#include <Eigen/QR>

#include <cmath>
#include <limits>

namespace {

// A resonance this wide is a spare pole modelling the spectrum's slope, not a formant: a
// track that holds one is as good as missing there.
constexpr double kWidestFormant = 600;
// A frame without the formant costs about as much as a track 10% off its fit there.
constexpr double kMissingPenalty = 0.1;

// A vowel's track bends at most once over its interval: a quadratic follows a glide, and
// fitting more would follow the jumps it is meant to expose.
int fitDegree(std::size_t points)
{
    return points >= 4 ? 2 : 1;
}

} // namespace

std::vector<double> CeilingSteps(double low, double high, int steps)
{
    std::vector<double> ceilings;
    if (!(low > 0) || !(high >= low) || steps < 1)
        return ceilings;
    if (steps == 1 || low == high)
        return {std::round(low)};
    const double ratio = std::log(high / low) / (steps - 1);
    for (int i = 0; i < steps; ++i)
        ceilings.push_back(std::round(low * std::exp(ratio * i)));
    return ceilings;
}

double TrackIrregularity(std::span<const FormantFrame> frames, std::span<const double> times)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const std::size_t n = std::min(frames.size(), times.size());
    if (n == 0)
        return kInfinity;
    // Time scaled to -1..1 keeps the fit well conditioned whatever the token's length.
    const double t0 = times[0];
    const double span = times[n - 1] - t0;
    double score = 0;
    for (std::size_t formant = 0; formant < 3; ++formant) {
        std::vector<double> t;
        std::vector<double> y;
        for (std::size_t j = 0; j < n; ++j) {
            const double f = frames[j].frequency[formant];
            const double b = frames[j].bandwidth[formant];
            if (std::isfinite(f) && f > 0 && b <= kWidestFormant) {
                t.push_back(span > 0 ? 2 * (times[j] - t0) / span - 1 : 0);
                y.push_back(std::log(f));
            }
        }
        if (2 * t.size() <= n)
            return kInfinity;
        const int degree = span > 0 ? fitDegree(t.size()) : 0;
        Eigen::MatrixXd design(Eigen::Index(t.size()), degree + 1);
        Eigen::VectorXd values(Eigen::Index(t.size()));
        for (std::size_t j = 0; j < t.size(); ++j) {
            double power = 1;
            for (int d = 0; d <= degree; ++d) {
                design(Eigen::Index(j), d) = power;
                power *= t[j];
            }
            values(Eigen::Index(j)) = y[j];
        }
        const Eigen::VectorXd coefficients = design.colPivHouseholderQr().solve(values);
        const double residual = (design * coefficients - values).squaredNorm();
        score += std::sqrt(residual / double(t.size()));
        score += kMissingPenalty * double(n - t.size()) / double(n);
    }
    return score;
}
