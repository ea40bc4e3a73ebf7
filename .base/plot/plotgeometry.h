#pragma once

#include <vector>

// Frame of a chart in device units, edges as a device context gives them: right and
// bottom lie just outside the area (an 800 x 600 client area is 0, 0, 800, 600).
struct PlotFrame
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Chart positions become device coordinates by truncation toward zero (-0.7 gives 0).
inline int toDeviceUnits(double value)
{
    return static_cast<int>(value);
}

// Whether `value` may become a device coordinate: finite and well inside the int range.
bool isDeviceCoordinate(double value);

// The mapping from Bark to device units of one drawing: a fixed number of units per
// Bark, anchored at the frame's top-right corner. Computed afresh for every drawing;
// the frame's left and bottom edges play no part. Pure: no Qt, no painter.
struct PlotGeometry
{
    int kF1 = 0;     // units per Bark down the page
    int kF2 = 0;     // units per Bark leftwards (F2, or F3 in the F1-F3 chart)
    int xAxis = 0;   // column of the F1 axis
    int yAxis = 0;   // row of the horizontal axis
    int yOrigin = 0; // y of 0 Bark along F1
    int xOrigin = 0; // x of 0 Bark along the horizontal formant

    // `unit` scales the fixed sizes of the chart (1 on screen), `zoom` only the scale.
    static PlotGeometry compute(const PlotFrame &frame, int unit, int zoom);

    int yOfF1(int hz) const;
    // x of a horizontal-axis frequency (F2, or F3 in the F1-F3 chart).
    int xOfF2(int hz) const;
    // Maps a point in Bark space (b1 along F1, b2 along the horizontal formant); false,
    // leaving x and y alone, when the result is not a usable device coordinate.
    bool mapBark(double b1, double b2, int &x, int &y) const;
};

// Tick frequencies in hertz, ascending: the F1 axis starts at 200 Hz, the horizontal
// axis at 400 Hz, both in 100 Hz steps up to the option's upper bound.
std::vector<int> f1TickFrequencies(int f1Max);
std::vector<int> f2TickFrequencies(int f2Max);
// Horizontal ticks carry a label (and a longer line) every 500 Hz.
inline bool isLabelledF2Tick(int hz)
{
    return hz % 500 == 0;
}
