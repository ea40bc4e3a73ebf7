#pragma once

#include "plot/chartframe.h"

// Frame of the F1-F2 chart window.
class CPlotViewF1F2Frame : public ChartFrame
{
    Q_OBJECT

public:
    explicit CPlotViewF1F2Frame(QWidget *parent = nullptr)
        : ChartFrame(QStringLiteral("::F1 vs F2 "), parent)
    {}
};
