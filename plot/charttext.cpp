#include "plot/charttext.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Enough for every distinct label of a full table; beyond that start afresh rather
// than grow without end.
constexpr qsizetype kMaxEntries = 20000;

} // namespace

const ChartText::Entry &ChartText::entry(const QFont &font, const QString &text)
{
    if (font != m_font) {
        m_entries.clear();
        m_last = nullptr;
        m_font = font;
    }
    if (m_last && m_lastText == text)
        return *m_last;
    auto it = m_entries.constFind(text);
    if (it == m_entries.constEnd()) {
        if (m_entries.size() >= kMaxEntries)
            m_entries.clear();
        Entry made;
        made.layout.setText(text);
        made.layout.setTextFormat(Qt::PlainText);
        made.layout.setPerformanceHint(QStaticText::AggressiveCaching);
        made.layout.prepare(QTransform(), font);
        const QFontMetrics metrics(font);
        made.box = QSize(metrics.horizontalAdvance(text), metrics.height());
        it = m_entries.insert(text, made);
    }
    m_lastText = text;
    m_last = &*it;
    return *m_last;
}

void ChartText::draw(QPainter &painter, int x, int y, const QString &text)
{
    const Entry &e = entry(painter.font(), text);
    if (painter.backgroundMode() != Qt::OpaqueMode) {
        painter.drawStaticText(QPoint(x, y), e.layout);
        return;
    }
    // Laid-out text in opaque mode lands off its place on a redirected widget painter:
    // fill the box ourselves, then draw the glyphs transparently.
    painter.fillRect(QRect(QPoint(x, y), e.box), painter.background());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawStaticText(QPoint(x, y), e.layout);
    painter.setBackgroundMode(Qt::OpaqueMode);
}

QSize ChartText::size(QPainter &painter, const QString &text)
{
    return entry(painter.font(), text).box;
}
