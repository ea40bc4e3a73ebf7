#include "plot/plotviewf1f3.h"

CPlotViewF1F3::CPlotViewF1F3(QWidget *parent) : PlotView(ChartKind::F1F3, parent) {}
