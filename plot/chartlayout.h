#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <optional>
#include <span>
#include <vector>

// Geometry of a chart drawn in any scale: the linear mapping from scale values to device
// units, tick choice and the placing of group labels. Pure: no painter, no widgets.

// Scale values to device units: the horizontal formant grows leftwards, F1 downwards,
// as on every vowel chart.
struct ScaleMapping
{
    double x0 = 0.0; // x of horizontal value 0
    double y0 = 0.0; // y of F1 value 0
    double kx = 1.0; // units per scale unit across
    double ky = 1.0; // units per scale unit down

    double x(double value) const { return x0 - kx * value; }
    double y(double value) const { return y0 + ky * value; }
    double valueAtX(double x) const { return (x0 - x) / kx; }
    double valueAtY(double y) const { return (y - y0) / ky; }
};

// Extent of the values to show: horizontal (x) and F1 (y) ranges.
struct ValueBox
{
    // Empty until a point is added.
    double xLo = 1.0, xHi = -1.0, yLo = 1.0, yHi = -1.0;
    bool isEmpty() const { return !(xHi >= xLo && yHi >= yLo); }
    void add(double x, double y);
};

// The mapping that puts `box` inside `area`: filling it both ways, or, given `aspect`
// (device units down per unit across for one scale unit; 1 for equal units), the largest
// such mapping, centred. An empty or degenerate box is widened so that the mapping stays
// finite.
ScaleMapping fitMapping(const QRectF &area, ValueBox box, std::optional<double> aspect);

// Ticks of one axis: values ascending, and which of them carry a label.
struct AxisTicks
{
    std::vector<double> values;
    std::vector<bool> labelled;
    int labelCount() const;
};

// Ticks from lo to hi (in whatever unit the axis labels show) a step of 1, 2 or 5 times a
// power of ten apart, with 4 to 10 of them labelled wherever the axis is long enough.
// Labels keep at least `gap` units apart: the smallest step whose labels all do is taken;
// where no such step gives 4 labels (a scale that packs values together at one end), a
// finer step is taken and the labels that would crowd their neighbour are left out.
// `position` maps a value to device units along the axis; `extent` gives a label's
// length along the axis.
AxisTicks chooseTicks(double lo, double hi, double gap,
                      const std::function<double(double)> &position,
                      const std::function<double(double)> &extent);

// Places one label box of `sizes[i]` beside each `anchors[i]` (the group mean), nearest
// first, so that no two boxes overlap and each stays inside `bounds` where it can. Boxes
// already taken (e.g. the axes' labels) are avoided too. Returns the boxes' rectangles.
std::vector<QRectF> placeLabels(std::span<const QPointF> anchors, std::span<const QSizeF> sizes,
                                const QRectF &bounds, double clearance,
                                std::span<const QRectF> taken = {});
