#pragma once

#include "plot/chartframe.h"

// Frame of the Statistics window.
class StatisticsFrame : public ChartFrame
{
    Q_OBJECT

public:
    explicit StatisticsFrame(QWidget *parent = nullptr)
        : ChartFrame(QStringLiteral("::Statistics "), parent)
    {}
};
