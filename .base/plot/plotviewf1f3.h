#pragma once

#include "plot/plotview.h"

#include <array>

// The F1-F3 chart window's view: the F1-F2 chart with each token's F3 along the top.
class CPlotViewF1F3 : public PlotView
{
    Q_OBJECT

public:
    explicit CPlotViewF1F3(QWidget *parent = nullptr);

    std::span<const QRect> labelHits() const override { return m_rcLabelHit; }

protected:
    std::span<QRect> writableLabelHits() override { return m_rcLabelHit; }

private:
    // Only the clickable orders 0 to 99 have a square here; other mixed groups store none.
    std::array<QRect, 100> m_rcLabelHit{};
};
