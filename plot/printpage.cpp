#include "plot/printpage.h"

#include "plot/chartrenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace {

// The printed chart frame, in page margins.
constexpr double kPrintFrameWidth = 7.0;
constexpr double kPrintFrameHeight = 9.0;
constexpr int kPrintZoom = 2;

} // namespace

PrintPageLayout ComputePrintPageLayout(int drawWidth, int drawHeight, double widthFactor,
                                       double heightFactor)
{
    // A resolution estimate: for a portrait page 8.5 inches wide this is its dots per inch.
    const int estimate = drawWidth > drawHeight ? static_cast<int>(drawHeight * 0.09090909090909091)
                                                : static_cast<int>(drawWidth * 0.11764705882352941);
    PrintPageLayout layout;
    if (estimate > 350 && estimate < 650) {
        layout.unit = 5;
        layout.margin = 600;
    } else if (estimate > 650 && estimate < 1300) {
        layout.unit = 10;
        layout.margin = 1200;
    } else if (estimate > 1300 && estimate < 2500) {
        layout.unit = 20;
        layout.margin = 2400;
    }
    layout.left = layout.margin;
    layout.top = layout.margin;
    layout.right = layout.margin + static_cast<int>(widthFactor * layout.margin);
    layout.bottom = layout.margin + static_cast<int>(heightFactor * layout.margin);
    return layout;
}

PrintPageLayout FitPrintPageLayout(PrintPageLayout layout, const QRect &rectDraw,
                                   const ChartOverhang &overhang)
{
    if (!overhang)
        return layout;
    // The chart's scale follows the unit, not the frame: only a smaller unit brings the
    // bottom of the F1 axis up.
    while (layout.unit > 1 && overhang(layout).bottom() > rectDraw.bottom())
        --layout.unit;
    // The F1 axis stands a fixed distance inside the frame's right edge, so moving that
    // edge in moves the axis, its labels and its caption with it.
    const int beyond = overhang(layout).right() - rectDraw.right();
    if (beyond > 0)
        layout.right -= beyond;
    return layout;
}

PrintPageLayout PreparePrintPage(QPainter &painter, const QRect &rectDraw, double widthFactor,
                                 double heightFactor, const QString &title,
                                 const ChartOverhang &overhang)
{
    const PrintPageLayout layout = FitPrintPageLayout(
        ComputePrintPageLayout(rectDraw.width(), rectDraw.height(), widthFactor, heightFactor),
        rectDraw, overhang);

    const QFontMetrics deviceMetrics(painter.font(), painter.device());
    const int blankHeight = deviceMetrics.height();
    if (blankHeight <= 0)
        return layout; // no usable title font: the page gets no title

    QFont titleFont(QStringLiteral("PrintFont"));
    titleFont.setPixelSize(blankHeight);
    painter.save();
    painter.setFont(titleFont);
    const QFontMetrics titleMetrics(titleFont, painter.device());
    const int titleWidth = titleMetrics.horizontalAdvance(title);
    const int x = layout.margin + layout.width() / 2 - titleWidth / 2;
    const int y = layout.margin - layout.margin / 2;
    // Placed by the top-left corner of its line box.
    painter.drawText(x, y + titleMetrics.ascent(), title);
    painter.restore();
    return layout;
}

void PrintChartPage(QPainter &painter, const QRect &drawArea, ChartRenderer &renderer,
                    const CTessavoxDoc &doc, const QString &title)
{
    // The F1 axis's labels and caption stand right of the frame: the page keeps them on.
    const auto overhang = [&doc](const PrintPageLayout &layout) {
        return ChartRenderer::DeviceF1AxisExtent(
            doc, PlotFrame{layout.left, layout.top, layout.right, layout.bottom}, layout.unit,
            kPrintZoom);
    };
    const PrintPageLayout page =
        PreparePrintPage(painter, drawArea, kPrintFrameWidth, kPrintFrameHeight, title, overhang);
    renderer.DrawPlotToDC(painter, doc, PlotFrame{page.left, page.top, page.right, page.bottom},
                          page.unit, kPrintZoom);
}
