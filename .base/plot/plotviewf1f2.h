#pragma once

#include "plot/plotview.h"

#include <array>

// The F1-F2 chart window's view: F1 down the right-hand side, F2 along the top.
class CPlotViewF1F2 : public PlotView
{
    Q_OBJECT

public:
    explicit CPlotViewF1F2(QWidget *parent = nullptr);

    std::span<const QRect> labelHits() const override { return m_rcLabelHit; }

protected:
    std::span<QRect> writableLabelHits() override { return m_rcLabelHit; }

private:
    // Indexed by order number; entries are overwritten by later paints, never emptied.
    std::array<QRect, 10000> m_rcLabelHit{};
};
