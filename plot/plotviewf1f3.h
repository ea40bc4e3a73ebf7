#pragma once

#include "plot/plotview.h"

// The F1-F3 chart window's view: the F1-F2 chart with each token's F3 along the top. Only
// the clickable orders 0 to 99 keep a click square; other mixed groups store none.
class CPlotViewF1F3 : public PlotView
{
    Q_OBJECT

public:
    explicit CPlotViewF1F3(QWidget *parent = nullptr) : PlotView(ChartKind::F1F3, 100, parent) {}
};
