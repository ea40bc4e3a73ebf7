#include "plot/groupmoments.h"

#include <cmath>

namespace {

// The polar steps use this value of pi; the tilt limits use the same one.
constexpr double kPi = 3.1415926535898;

} // namespace

void GroupMoments::add(double b1, double b2)
{
    ++m_count;
    m_sum1 += b1;
    m_sum2 += b2;
    m_sum11 += b1 * b1;
    m_sum22 += b2 * b2;
    m_sum12 += b1 * b2;
}

double GroupMoments::S11() const
{
    const double m = m1();
    return m_sum11 / m_count - m * m;
}

double GroupMoments::S22() const
{
    const double m = m2();
    return m_sum22 / m_count - m * m;
}

double GroupMoments::S12() const
{
    return m_sum12 / m_count - m1() * m2();
}

EllipseAxes ComputeEllipseAxes(double S11, double S22, double S12)
{
    const double d = (S22 - S11) * 0.5;
    const double r = std::sqrt(d * d + S12 * S12);
    const double s = (S22 + S11) * 0.5;
    const double lambda1 = s + r;
    const double lambda2 = s - r;

    EllipseAxes axes;
    axes.sigma1 = lambda1 > 0 ? std::sqrt(lambda1) : 0.0;
    axes.sigma2 = lambda2 > 0 ? std::sqrt(lambda2) : 0.0;
    if (S12 != 0.0) {
        axes.theta = std::atan((r + d) / S12);
    } else {
        // Uncorrelated: the major axis follows the larger variance; equal variances make
        // a circle, for which any direction will do.
        axes.theta = S22 > S11 ? kPi / 2 : 0.0;
    }
    return axes;
}

bool ComputeEllipseOutline(const GroupMoments &moments, EllipseOutline &outline)
{
    outline.count = 0;
    const double S11 = moments.S11();
    const double S22 = moments.S22();
    if (S11 == 0.0 || S22 == 0.0)
        return false;
    const EllipseAxes axes = ComputeEllipseAxes(S11, S22, moments.S12());
    const double A = 2.0 * axes.sigma1;
    const double B = 2.0 * axes.sigma2;
    // A zero major axis (rounding can leave a variance a tiny negative number) would make
    // the eccentricity 0 / 0.
    if (!(A > 0.0))
        return false;
    const double e = std::sqrt(1.0 - B * B / (A * A));
    const double m1 = moments.m1();
    const double m2 = moments.m2();
    if (!std::isfinite(e) || !std::isfinite(axes.theta) || !std::isfinite(m1) || !std::isfinite(m2))
        return false;

    for (int k = 0; k < EllipseOutline::kSteps; ++k) {
        const double phi = k * 2 * kPi / EllipseOutline::kSteps;
        const double c = e * std::cos(axes.theta - phi);
        const double D = 1.0 - c * c;
        if (D <= 0.0)
            continue;
        const double rho = std::sqrt(B * B / D);
        const double b1 = m1 + rho * std::cos(phi);
        const double b2 = m2 + rho * std::sin(phi);
        if (!std::isfinite(b1) || !std::isfinite(b2)) {
            outline.count = 0;
            return false;
        }
        outline.b1[std::size_t(outline.count)] = b1;
        outline.b2[std::size_t(outline.count)] = b2;
        ++outline.count;
    }
    return outline.count > 0;
}
