#include "plot/plotgeometry.h"

#include "plot/barkscale.h"

#include <cmath>

namespace {

std::vector<int> ticksFrom(int firstStep, int maxHz)
{
    std::vector<int> ticks;
    const int lastStep = maxHz / 100;
    for (int i = firstStep; i <= lastStep; ++i)
        ticks.push_back(100 * i);
    return ticks;
}

} // namespace

bool isDeviceCoordinate(double value)
{
    // Far beyond any device, and safely inside int so the cast is defined.
    return std::isfinite(value) && std::fabs(value) < 1.0e9;
}

PlotGeometry PlotGeometry::compute(const PlotFrame &frame, int unit, int zoom)
{
    PlotGeometry g;
    g.kF1 = 48 * unit * zoom;
    g.kF2 = 32 * unit * zoom;
    // The axis offsets are device units, deliberately not scaled by the unit.
    g.xAxis = frame.right - 100;
    g.yAxis = frame.top + 50;
    g.yOrigin = g.yAxis - toDeviceUnits(g.kF1 * HzToBark(200));
    g.xOrigin = g.xAxis + toDeviceUnits(g.kF2 * HzToBark(400));
    return g;
}

int PlotGeometry::yOfF1(int hz) const
{
    return toDeviceUnits(double(yOrigin) + kF1 * HzToBark(hz));
}

int PlotGeometry::xOfF2(int hz) const
{
    return toDeviceUnits(double(xOrigin) - kF2 * HzToBark(hz));
}

bool PlotGeometry::mapBark(double b1, double b2, int &x, int &y) const
{
    const double dx = xOrigin - kF2 * b2;
    const double dy = yOrigin + kF1 * b1;
    if (!isDeviceCoordinate(dx) || !isDeviceCoordinate(dy))
        return false;
    x = toDeviceUnits(dx);
    y = toDeviceUnits(dy);
    return true;
}

std::vector<int> f1TickFrequencies(int f1Max)
{
    return ticksFrom(2, f1Max);
}

std::vector<int> f2TickFrequencies(int f2Max)
{
    return ticksFrom(4, f2Max);
}
