#include "plot/charttext.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>

namespace {

// Enough for every distinct label of a full table; beyond that start afresh rather
// than grow without end.
constexpr qsizetype kMaxLayouts = 20000;

// The glyphs of `text` where laid-out static text puts them: one line, its box's top-left
// corner at the origin. Text of several lines is left out: it is only ever drawn whole.
void placeGlyphs(const QString &text, const QFont &font, ChartText::Layout &layout)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QChar::LineSeparator))
        return;
    QTextLayout lines(text, font);
    lines.setCacheEnabled(true);
    lines.beginLayout();
    QTextLine line = lines.createLine();
    if (!line.isValid())
        return;
    line.setPosition(QPointF(0.0, 0.0));
    lines.endLayout();
    for (const QGlyphRun &run : lines.glyphRuns())
        layout.runs.push_back({run.rawFont(), run.glyphIndexes(), run.positions()});
    layout.batchable = true;
}

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
        // Laid out when first drawn as static text: pixel output draws the glyph runs.
        made.text.setPerformanceHint(QStaticText::AggressiveCaching);
        const QFontMetrics metrics(font);
        made.box = QSize(metrics.horizontalAdvance(text), metrics.height());
        placeGlyphs(text, font, made);
        it = m_layouts.insert(text, made);
    }
    m_lastText = text;
    m_last = &*it;
    return *m_last;
}

void ChartText::draw(QPainter &painter, int x, int y, const Layout &layout)
{
    if (layout.batchable && Batch::suits(painter)) {
        Batch one;
        one.add(painter, x, y, layout);
        one.flush(painter);
        return;
    }
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

bool ChartText::Batch::suits(const QPainter &painter)
{
    // Vector output keeps each text a text of its own.
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster &&
           painter.backgroundMode() != Qt::OpaqueMode && painter.worldTransform().isIdentity();
}

void ChartText::Batch::add(QPainter &painter, int x, int y, const Layout &layout)
{
    if (!layout.batchable) {
        flush(painter);
        ChartText::draw(painter, x, y, layout);
        return;
    }
    const QPointF corner(x, y);
    for (const Layout::Run &run : layout.runs) {
        if (run.font != m_font) {
            flush(painter);
            m_font = run.font;
        }
        m_glyphs.append(run.glyphs);
        for (const QPointF &position : run.positions)
            m_positions.append(corner + position);
    }
}

void ChartText::Batch::flush(QPainter &painter)
{
    if (m_glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_font);
    run.setGlyphIndexes(m_glyphs);
    run.setPositions(m_positions);
    painter.drawGlyphRun(QPointF(0.0, 0.0), run);
    m_glyphs.clear();
    m_positions.clear();
}
