#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QStaticText>
#include <QString>

#include <vector>

class QPainter;

// Draws text by the top-left corner of its line box, as every chart text is placed.
// Laid-out text is kept per distinct string for one font, so a chart of thousands of
// tokens lays out each label once: the texts are not chart data, only their shapes.
class ChartText
{
public:
    // A text laid out in one font, and its line box.
    struct Layout
    {
        QStaticText text;
        QSize box;
        // The same glyphs, placed from the top-left corner, for drawing many texts at once;
        // none for text that cannot be drawn so.
        struct Run
        {
            QRawFont font;
            QList<quint32> glyphs;
            QList<QPointF> positions;
        };
        std::vector<Run> runs;
        bool batchable = false;
    };

    // Draws in the painter's font, pen colour and background mode. In opaque mode the
    // line box is first filled with the background, hiding what lies beneath.
    void draw(QPainter &painter, int x, int y, const QString &text);
    // Width and height of the line box in the painter's current font.
    QSize size(QPainter &painter, const QString &text);

    // The layout of `text` in the painter's current font, to measure and then draw the
    // same text (a chart's token) with one look-up. Valid until the next call.
    const Layout &layout(QPainter &painter, const QString &text);
    static void draw(QPainter &painter, int x, int y, const Layout &layout);

    // Many texts drawn in turn, as draw() would draw them one by one, with one painter
    // call for each stretch of glyphs in one font: a chart's thousands of token labels.
    // Only where drawing a text is nothing but drawing its glyphs: pixels, a transparent
    // background, no transformation. Texts are drawn when the font changes and at flush().
    class Batch
    {
    public:
        // Whether `painter` draws a text as its glyphs alone, so a batch draws it alike.
        static bool suits(const QPainter &painter);
        void add(QPainter &painter, int x, int y, const Layout &layout);
        void flush(QPainter &painter);

    private:
        QRawFont m_font;
        QList<quint32> m_glyphs;
        QList<QPointF> m_positions;
    };

private:
    QFont m_font;
    QHash<QString, Layout> m_layouts;
    // The text asked for last: tokens of one vowel often follow each other. Points into
    // m_layouts; reset whenever that changes.
    QString m_lastText;
    const Layout *m_last = nullptr;
};
