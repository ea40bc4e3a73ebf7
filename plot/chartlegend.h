#pragma once

#include <QRect>
#include <QSize>
#include <QStringList>

class QPainter;

// The key of a chart coloured by something other than the vowel: a swatch in each
// palette colour and the value it stands for, one entry a line. Too many entries for a
// page end in a line saying how many more there are. Holds only the names; measures and
// draws in the painter's current font.
class ChartLegend
{
public:
    // `unit` scales the swatches and spacing as it scales the chart's other fixed sizes.
    ChartLegend(const QStringList &names, int unit);

    bool isEmpty() const { return m_names.isEmpty(); }
    // The box the legend takes in the painter's font, its frame included.
    QSize size(QPainter &painter) const;
    // Draws it with its top-left corner at `topLeft` on a white ground, framed.
    void draw(QPainter &painter, QPoint topLeft) const;

    // More entries than this are summed up in one line.
    static constexpr int kMostEntries = 24;

private:
    QStringList lines() const;

    QStringList m_names;
    int m_unit = 1;
};
