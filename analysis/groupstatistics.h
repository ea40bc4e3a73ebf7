#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Means, spread and ellipse of groups of points (x = F2 or F3, y = F1, in whatever scale
// or normalisation the caller chose), as printed beside a chart.

enum class EllipseKind { Sd2Population, Sd1, Sd2, Coverage95, Data95, Mean95 };

// Groups smaller than this get a count and means only: no spread, ellipse or mark on a
// chart.
constexpr int kMinEllipseGroupSize = 3;

struct EllipseKindInfo
{
    EllipseKind kind;
    const char *name;    // as given on the command line, e.g. "coverage95"
    const char *radius;  // the formula of r, for help texts
    const char *meaning; // one line for help texts
};

// Every kind, the charts' own first.
std::span<const EllipseKindInfo> ellipseKinds();
const EllipseKindInfo &ellipseKindInfo(EllipseKind kind);
std::optional<EllipseKind> parseEllipseKind(const QString &name);

// r of the ellipse {p : (p - m)^T S^-1 (p - m) = r^2} for a group of n tokens; nullopt
// for fewer than 3 tokens.
std::optional<double> ellipseRadius(EllipseKind kind, int n);

// The upper p quantile of the F distribution with 2 and d degrees of freedom.
double fQuantile2(double p, double d);

// Principal axes of a sample covariance scaled by r: semi-axes r sqrt(lambda1) >=
// r sqrt(lambda2), the major axis's angle in degrees from +x in (-90, 90], and the area
// pi r^2 sqrt(det S). nullopt when S is not positive definite (all points on one line
// or one point) or a value is not finite: such a group has no ellipse.
struct EllipseShape
{
    double semiMajor = 0.0;
    double semiMinor = 0.0;
    double angleDeg = 0.0;
    double area = 0.0;
};
std::optional<EllipseShape> ellipseShape(double sxx, double syy, double sxy, double r);

// One group's figures. Groups of fewer than 3 tokens get n and the means only.
struct GroupStatistics
{
    int n = 0;
    std::optional<double> meanX, meanY;
    std::optional<double> sdX, sdY, covXY; // sample (n - 1)
    std::optional<EllipseShape> ellipse;
    std::optional<int> inside; // tokens on or inside the ellipse
};

struct StatisticsResult
{
    std::vector<GroupStatistics> groups; // indexed by group
    std::size_t skipped = 0;             // tokens left out: x or y missing or not finite
    QStringList messages;                // groups that have means but no ellipse, and why
};

// `group[i]` is token i's group in 0..groupCount-1, or -1 to leave the token out;
// `groupNames` names the groups in messages. Two passes over the tokens (means first),
// so the figures keep their precision however far the values lie from 0.
StatisticsResult groupStatistics(std::span<const int> group, int groupCount,
                                 std::span<const double> x, std::span<const double> y,
                                 EllipseKind kind, const QStringList &groupNames);

// The outline of the ellipse {p : (p - m)^T S^-1 (p - m) = r^2} traced by its polar
// equation about the mean, at `steps` equal angles from +y (F1) towards +x: the points
// where the equation has a solution, in order (x, y). Empty when either variance is 0 or
// any value is not finite. The charts draw their classic ellipse through these points.
struct PolarOutlinePoint
{
    double x = 0.0;
    double y = 0.0;
};
std::vector<PolarOutlinePoint> polarEllipseOutline(double meanX, double meanY, double sxx,
                                                   double syy, double sxy, double r, int steps);
