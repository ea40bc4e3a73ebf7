#pragma once

#include "plot/chartrenderer.h"

#include <QFont>
#include <QRect>

#include <span>

class CellSource;
class CTessavoxDoc;

// One drawing of a ChartRenderer: where and how it draws. Shared by the renderer's
// classic and analysis drawings only.
struct ChartRenderer::Pass
{
    PlotFrame frame;
    int unit = 1;
    int zoom = 1;
    bool screen = false;
    QFont captionFont;
    std::span<QRect> hitSquares;
    // Set by draw().
    const CTessavoxDoc *doc = nullptr;
    const CellSource *cells = nullptr;
    PlotGeometry geometry;
    QFont tokenFont;
    QFont groupFont;
};
