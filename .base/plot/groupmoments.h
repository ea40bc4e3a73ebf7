#pragma once

#include <array>

// Mean, population variances and covariance of one order group in Bark space, kept as
// running sums so a group of any size costs the same fixed storage. The sums run in
// row order, so the moments equal those of summing stored values afterwards.
class GroupMoments
{
public:
    void add(double b1, double b2);
    int count() const { return m_count; }

    // Valid once count() > 0.
    double m1() const { return m_sum1 / m_count; }
    double m2() const { return m_sum2 / m_count; }
    double S11() const;
    double S22() const;
    double S12() const;

private:
    int m_count = 0;
    double m_sum1 = 0.0;
    double m_sum2 = 0.0;
    double m_sum11 = 0.0;
    double m_sum22 = 0.0;
    double m_sum12 = 0.0;
};

// Principal axes of a group's covariance: standard deviations along the major and minor
// axes, and the major axis direction in radians from F1 towards the horizontal formant.
struct EllipseAxes
{
    double sigma1 = 0.0;
    double sigma2 = 0.0;
    double theta = 0.0;
};

EllipseAxes ComputeEllipseAxes(double S11, double S22, double S12);

// The two-standard-deviation outline of a group as up to 200 points in Bark space (b1
// along F1, b2 along the horizontal formant), from 200 equal polar steps about the mean.
// Steps where the polar equation has no solution are left out.
struct EllipseOutline
{
    static constexpr int kSteps = 200;
    std::array<double, kSteps> b1{};
    std::array<double, kSteps> b2{};
    int count = 0;
};

// Fills `outline`; returns false (outline empty) when the group gets no ellipse: a
// variance exactly 0, a major semi-axis of 0, or any value that is not finite.
bool ComputeEllipseOutline(const GroupMoments &moments, EllipseOutline &outline);
