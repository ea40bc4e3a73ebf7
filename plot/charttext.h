#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QStaticText>
#include <QString>

class QPainter;

// Draws text by the top-left corner of its line box, as every chart text is placed.
// Laid-out text is kept per distinct string for one font, so a chart of thousands of
// tokens lays out each label once: the texts are not chart data, only their shapes.
class ChartText
{
public:
    // Draws in the painter's font, pen colour and background mode. In opaque mode the
    // line box is first filled with the background, hiding what lies beneath.
    void draw(QPainter &painter, int x, int y, const QString &text);
    // Width and height of the line box in the painter's current font.
    QSize size(QPainter &painter, const QString &text);

private:
    struct Entry
    {
        QStaticText layout;
        QSize box;
    };
    const Entry &entry(const QFont &font, const QString &text);

    QFont m_font;
    QHash<QString, Entry> m_entries;
    // The text asked for last: a token is measured and then drawn, and tokens of one
    // vowel often follow each other. Points into m_entries; reset whenever that changes.
    QString m_lastText;
    const Entry *m_last = nullptr;
};
