#pragma once

#include "plot/chartframe.h"

// Frame of the F1-F3 chart window.
class CPlotViewF1F3Frame : public ChartFrame
{
    Q_OBJECT

public:
    explicit CPlotViewF1F3Frame(QWidget *parent = nullptr)
        : ChartFrame(QStringLiteral("::F1 vs F3 "), parent)
    {}
};
