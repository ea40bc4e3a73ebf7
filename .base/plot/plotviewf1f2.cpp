#include "plot/plotviewf1f2.h"

CPlotViewF1F2::CPlotViewF1F2(QWidget *parent) : PlotView(ChartKind::F1F2, parent) {}
