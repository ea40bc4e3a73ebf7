#include "plot/chartlegend.h"

#include "plot/chartpalette.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

ChartLegend::ChartLegend(const QStringList &names, int unit) : m_names(names), m_unit(unit) {}

QStringList ChartLegend::lines() const
{
    QStringList lines = m_names.mid(0, kMostEntries);
    for (QString &line : lines)
        if (line.isEmpty())
            line = QStringLiteral("(none)");
    if (m_names.size() > kMostEntries)
        lines << QStringLiteral("and %1 more").arg(m_names.size() - kMostEntries);
    return lines;
}

QSize ChartLegend::size(QPainter &painter) const
{
    if (isEmpty())
        return {};
    const QFontMetrics metrics(painter.font(), painter.device());
    int width = 0;
    const QStringList text = lines();
    for (const QString &line : text)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int u = m_unit;
    const int swatch = metrics.height() * 2 / 3;
    return QSize(4 * u + swatch + 4 * u + width + 4 * u,
                 3 * u + int(text.size()) * metrics.height() + 3 * u);
}

void ChartLegend::draw(QPainter &painter, QPoint topLeft) const
{
    if (isEmpty())
        return;
    painter.save();
    const QFontMetrics metrics(painter.font(), painter.device());
    const int u = m_unit;
    const QRect box(topLeft, size(painter));
    painter.setPen(QPen(QColor(160, 160, 160), u));
    painter.setBrush(Qt::white);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const int swatch = metrics.height() * 2 / 3;
    const QStringList text = lines();
    for (int i = 0; i < text.size(); ++i) {
        const int top = box.top() + 3 * u + i * metrics.height();
        const bool entry = i < std::min(int(m_names.size()), kMostEntries);
        if (entry) {
            const QColor colour = ChartPalette::colour(i);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawRect(
                QRect(box.left() + 4 * u, top + (metrics.height() - swatch) / 2, swatch, swatch));
        }
        painter.setPen(Qt::black);
        painter.drawText(QPoint(box.left() + 8 * u + swatch, top + metrics.ascent()), text[i]);
    }
    painter.restore();
}
