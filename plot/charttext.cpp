#include "plot/charttext.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Enough for every distinct label of a full table; beyond that start afresh rather
// than grow without end.
constexpr qsizetype kMaxLayouts = 20000;

} // namespace

const ChartText::Layout &ChartText::layout(QPainter &painter, const QString &text)
{
    const QFont &font = painter.font();
    if (font != m_font) {
        m_layouts.clear();
        m_last = nullptr;
        m_font = font;
    }
    if (m_last && m_lastText == text)
        return *m_last;
    auto it = m_layouts.constFind(text);
    if (it == m_layouts.constEnd()) {
        if (m_layouts.size() >= kMaxLayouts)
            m_layouts.clear();
        Layout made;
        made.text.setText(text);
        made.text.setTextFormat(Qt::PlainText);
        made.text.setPerformanceHint(QStaticText::AggressiveCaching);
        made.text.prepare(QTransform(), font);
        const QFontMetrics metrics(font);
        made.box = QSize(metrics.horizontalAdvance(text), metrics.height());
        it = m_layouts.insert(text, made);
    }
    m_lastText = text;
    m_last = &*it;
    return *m_last;
}

void ChartText::draw(QPainter &painter, int x, int y, const Layout &layout)
{
    if (painter.backgroundMode() != Qt::OpaqueMode) {
        painter.drawStaticText(QPoint(x, y), layout.text);
        return;
    }
    // Laid-out text in opaque mode lands off its place on a redirected widget painter:
    // fill the box ourselves, then draw the glyphs transparently.
    painter.fillRect(QRect(QPoint(x, y), layout.box), painter.background());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawStaticText(QPoint(x, y), layout.text);
    painter.setBackgroundMode(Qt::OpaqueMode);
}

void ChartText::draw(QPainter &painter, int x, int y, const QString &text)
{
    draw(painter, x, y, layout(painter, text));
}

QSize ChartText::size(QPainter &painter, const QString &text)
{
    return layout(painter, text).box;
}
