#include "analysis/groupstatistics.h"

#include "analysis/namedchoice.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr std::array<EllipseKindInfo, 6> kKinds{{
    {EllipseKind::Sd2Population, "sd2-population", "2 sqrt((n - 1)/n)",
     "2 SD of the population covariance (the charts' ellipse)"},
    {EllipseKind::Sd1, "sd1", "1", "1 SD"},
    {EllipseKind::Sd2, "sd2", "2", "2 SD"},
    {EllipseKind::Coverage95, "coverage95", "sqrt(-2 ln 0.05)",
     "holds 95% of a bivariate normal population"},
    {EllipseKind::Data95, "data95", "sqrt(2 F(0.95; 2, n - 1))",
     "95% data ellipse with the F correction"},
    {EllipseKind::Mean95, "mean95", "sqrt(2 (n - 1)/(n (n - 2)) F(0.95; 2, n - 2))",
     "95% confidence region of the mean"},
}};

} // namespace

std::span<const EllipseKindInfo> ellipseKinds()
{
    return kKinds;
}

const EllipseKindInfo &ellipseKindInfo(EllipseKind kind)
{
    return NamedChoiceInfo<EllipseKindInfo>(kKinds, &EllipseKindInfo::kind, kind);
}

std::optional<EllipseKind> parseEllipseKind(const QString &name)
{
    return ParseNamedChoice<EllipseKindInfo>(kKinds, &EllipseKindInfo::kind, name);
}

double fQuantile2(double p, double d)
{
    return d / 2.0 * (std::pow(1.0 - p, -2.0 / d) - 1.0);
}

std::optional<double> ellipseRadius(EllipseKind kind, int n)
{
    if (n < kMinEllipseGroupSize)
        return std::nullopt;
    const double N = n;
    switch (kind) {
    case EllipseKind::Sd2Population:
        return 2.0 * std::sqrt((N - 1.0) / N);
    case EllipseKind::Sd1:
        return 1.0;
    case EllipseKind::Sd2:
        return 2.0;
    case EllipseKind::Coverage95:
        return std::sqrt(-2.0 * std::log(0.05));
    case EllipseKind::Data95:
        return std::sqrt(2.0 * fQuantile2(0.95, N - 1.0));
    case EllipseKind::Mean95:
        return std::sqrt(2.0 * (N - 1.0) / (N * (N - 2.0)) * fQuantile2(0.95, N - 2.0));
    }
    return std::nullopt;
}

std::optional<EllipseShape> ellipseShape(double sxx, double syy, double sxy, double r)
{
    const double det = sxx * syy - sxy * sxy;
    if (!std::isfinite(det) || !(det > 0.0) || !(sxx > 0.0) || !(syy > 0.0))
        return std::nullopt;
    const double half = (sxx + syy) / 2.0;
    const double lambda1 = half + std::hypot((sxx - syy) / 2.0, sxy);
    // From the determinant: the difference half - root loses the small axis's digits.
    const double lambda2 = det / lambda1;
    // A covariance of exactly 0 may carry a sign; either sign means no tilt.
    const double tilt = sxy == 0.0 ? 0.0 : 2.0 * sxy;
    EllipseShape shape;
    shape.semiMajor = r * std::sqrt(lambda1);
    shape.semiMinor = r * std::sqrt(lambda2);
    shape.angleDeg = 0.5 * std::atan2(tilt, sxx - syy) * (180.0 / std::numbers::pi);
    shape.area = std::numbers::pi * r * r * std::sqrt(det);
    if (!std::isfinite(shape.semiMajor) || !std::isfinite(shape.semiMinor) ||
        !std::isfinite(shape.area))
        return std::nullopt;
    return shape;
}

StatisticsResult groupStatistics(std::span<const int> group, int groupCount,
                                 std::span<const double> x, std::span<const double> y,
                                 EllipseKind kind, const QStringList &groupNames)
{
    struct Sums
    {
        int n = 0;
        double x = 0.0, y = 0.0, xx = 0.0, yy = 0.0, xy = 0.0;
    };
    StatisticsResult result;
    const auto groups = std::size_t(groupCount > 0 ? groupCount : 0);
    std::vector<Sums> sums(groups);
    const std::size_t n = std::min({group.size(), x.size(), y.size()});
    const auto usable = [&](std::size_t i) {
        return group[i] >= 0 && std::size_t(group[i]) < groups && std::isfinite(x[i]) &&
               std::isfinite(y[i]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!usable(i)) {
            if (group[i] >= 0)
                ++result.skipped;
            continue;
        }
        Sums &s = sums[std::size_t(group[i])];
        ++s.n;
        s.x += x[i];
        s.y += y[i];
    }
    std::vector<double> meanX(groups), meanY(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        meanX[g] = sums[g].n > 0 ? sums[g].x / sums[g].n : 0.0;
        meanY[g] = sums[g].n > 0 ? sums[g].y / sums[g].n : 0.0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!usable(i))
            continue;
        const auto g = std::size_t(group[i]);
        const double dx = x[i] - meanX[g];
        const double dy = y[i] - meanY[g];
        sums[g].xx += dx * dx;
        sums[g].yy += dy * dy;
        sums[g].xy += dx * dy;
    }

    result.groups.resize(groups);
    // Per group: Sxx, Syy, Sxy, det S and r^2 for the inside test.
    std::vector<std::array<double, 5>> shape(groups);
    for (std::size_t g = 0; g < groups; ++g) {
        GroupStatistics &stats = result.groups[g];
        const Sums &s = sums[g];
        stats.n = s.n;
        if (s.n == 0)
            continue;
        stats.meanX = meanX[g];
        stats.meanY = meanY[g];
        const QString name =
            qsizetype(g) < groupNames.size() ? groupNames[qsizetype(g)] : QString::number(g + 1);
        const std::optional<double> r = ellipseRadius(kind, s.n);
        if (!r) {
            result.messages << QStringLiteral("group \"%1\": %2 token(s); spread and ellipse "
                                              "need at least 3")
                                   .arg(name)
                                   .arg(s.n);
            continue;
        }
        const double sxx = s.xx / (s.n - 1);
        const double syy = s.yy / (s.n - 1);
        const double sxy = s.xy / (s.n - 1);
        stats.sdX = std::sqrt(sxx);
        stats.sdY = std::sqrt(syy);
        stats.covXY = sxy;
        stats.ellipse = ellipseShape(sxx, syy, sxy, *r);
        if (!stats.ellipse) {
            result.messages << QStringLiteral("group \"%1\": the tokens lie on one line; no "
                                              "ellipse")
                                   .arg(name);
            continue;
        }
        shape[g] = {sxx, syy, sxy, sxx * syy - sxy * sxy, *r * *r};
        stats.inside = 0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!usable(i))
            continue;
        const auto g = std::size_t(group[i]);
        GroupStatistics &stats = result.groups[g];
        if (!stats.inside)
            continue;
        const double dx = x[i] - meanX[g];
        const double dy = y[i] - meanY[g];
        const auto &[sxx, syy, sxy, det, r2] = shape[g];
        const double d2 = (syy * dx * dx - 2.0 * sxy * dx * dy + sxx * dy * dy) / det;
        if (d2 <= r2)
            ++*stats.inside;
    }
    return result;
}

std::vector<PolarOutlinePoint> polarEllipseOutline(double meanX, double meanY, double sxx,
                                                   double syy, double sxy, double r, int steps)
{
    // The polar steps use this value of pi, as every chart always has.
    constexpr double kPi = 3.1415926535898;
    std::vector<PolarOutlinePoint> outline;
    if (sxx == 0.0 || syy == 0.0 || steps <= 0)
        return outline;
    // Principal axes with the angle measured from y towards x.
    const double d = (sxx - syy) * 0.5;
    const double root = std::sqrt(d * d + sxy * sxy);
    const double s = (sxx + syy) * 0.5;
    const double lambda1 = s + root;
    const double lambda2 = s - root;
    const double A = r * (lambda1 > 0 ? std::sqrt(lambda1) : 0.0);
    const double B = r * (lambda2 > 0 ? std::sqrt(lambda2) : 0.0);
    // Uncorrelated: the major axis follows the larger variance.
    const double theta = sxy != 0.0 ? std::atan((root + d) / sxy) : (sxx > syy ? kPi / 2 : 0.0);
    // A zero major axis (rounding can leave a variance a tiny negative number) would make
    // the eccentricity 0 / 0.
    if (!(A > 0.0))
        return outline;
    const double e = std::sqrt(1.0 - B * B / (A * A));
    if (!std::isfinite(e) || !std::isfinite(theta) || !std::isfinite(meanX) ||
        !std::isfinite(meanY))
        return outline;
    outline.reserve(std::size_t(steps));
    for (int k = 0; k < steps; ++k) {
        const double phi = k * 2 * kPi / steps;
        const double c = e * std::cos(theta - phi);
        const double D = 1.0 - c * c;
        if (D <= 0.0)
            continue;
        const double rho = std::sqrt(B * B / D);
        const PolarOutlinePoint p{meanX + rho * std::sin(phi), meanY + rho * std::cos(phi)};
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return {};
        outline.push_back(p);
    }
    return outline;
}
