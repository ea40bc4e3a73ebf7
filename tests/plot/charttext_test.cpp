// Chart text: a batch of labels draws exactly what drawing them one by one draws.

#include "plot/charttext.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSvgGenerator>

#include <gtest/gtest.h>

namespace {

struct Label
{
    QPoint at;
    QString text;
};

// Thousands of overlapping labels: IPA with combining marks and length signs, several
// words, scripts the chart's face may lack, a tab, and an empty one.
std::vector<Label> crowdedLabels()
{
    const QStringList texts{QStringLiteral("i"),
                            QStringLiteral("e\u031E"),
                            QStringLiteral("\u0251\u0303"),
                            QStringLiteral("a\u02D0"),
                            QStringLiteral("long vowel"),
                            QStringLiteral("\u0639"),
                            QStringLiteral("\u65E5\u672C"),
                            QStringLiteral("x\ty"),
                            QStringLiteral("\u025A\u02DE"),
                            QString(),
                            QStringLiteral("\u028F")};
    QRandomGenerator random(7);
    std::vector<Label> labels;
    for (int k = 0; k < 3000; ++k)
        labels.push_back({QPoint(random.bounded(-20, 420), random.bounded(-20, 320)),
                          texts.at(random.bounded(int(texts.size())))});
    return labels;
}

QImage drawn(bool batched, const QColor &pen)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(pen);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    EXPECT_TRUE(ChartText::Batch::suits(painter));
    ChartText text;
    ChartText::Batch batch;
    for (const Label &label : crowdedLabels()) {
        const ChartText::Layout &layout = text.layout(painter, label.text);
        if (batched)
            batch.add(painter, label.at.x(), label.at.y(), layout);
        else
            ChartText::draw(painter, label.at.x(), label.at.y(), layout);
    }
    batch.flush(painter);
    return image;
}

} // namespace

TEST(ChartText, ABatchDrawsWhatLabelsDrawnOneByOneDraw)
{
    for (const QColor &pen : {QColor(Qt::black), QColor(200, 30, 60)}) {
        const QImage one = drawn(false, pen);
        EXPECT_EQ(drawn(true, pen), one);
        int inked = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x)
                inked += one.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(inked, one.width() * one.height() / 4);
    }
}

TEST(ChartText, OnlyPlainPixelOutputIsBatched)
{
    QImage image(40, 30, QImage::Format_RGB32);
    QPainter pixels(&image);
    EXPECT_TRUE(ChartText::Batch::suits(pixels));
    pixels.setBackgroundMode(Qt::OpaqueMode); // each label blanks its box first
    EXPECT_FALSE(ChartText::Batch::suits(pixels));
    pixels.setBackgroundMode(Qt::TransparentMode);
    pixels.scale(3, 3);
    EXPECT_FALSE(ChartText::Batch::suits(pixels));
    pixels.end();

    QSvgGenerator svg; // vector output keeps each label a text of its own
    svg.setSize(QSize(40, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    svg.setOutputDevice(&buffer);
    QPainter vector(&svg);
    EXPECT_FALSE(ChartText::Batch::suits(vector));
}
