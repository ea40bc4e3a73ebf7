#pragma once

#include "plot/plotview.h"

// The F1-F2 chart window's view: F1 down the right-hand side, F2 along the top. Every
// order number keeps its click square.
class CPlotViewF1F2 : public PlotView
{
    Q_OBJECT

public:
    explicit CPlotViewF1F2(QWidget *parent = nullptr) : PlotView(ChartKind::F1F2, 10000, parent) {}
};
