#include "plot/printpage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

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

PrintPageLayout PreparePrintPage(QPainter &painter, const QRect &rectDraw, double widthFactor,
                                 double heightFactor, const QString &title)
{
    const PrintPageLayout layout =
        ComputePrintPageLayout(rectDraw.width(), rectDraw.height(), widthFactor, heightFactor);

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
