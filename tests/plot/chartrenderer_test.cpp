// The chart drawn into an image: marks at the pixels the geometry computes.

#include "barkscale.h"
#include "chartfonts.h"
#include "chartrenderer.h"
#include "faketable.h"
#include "groupmoments.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr PlotFrame kWindow{0, 0, 800, 600};
const PlotGeometry kScreen = PlotGeometry::compute(kWindow, 1, 1);
const QRgb kGrey = qRgb(200, 200, 200);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

struct Chart
{
    explicit Chart(std::vector<FakeRow> rows, ChartKind kind = ChartKind::F1F2)
        : data(std::move(rows)), renderer(kind)
    {}
    // The window's picture; a grey background shows the opaque boxes behind axis texts.
    QImage draw(QColor background = Qt::white)
    {
        QImage image = blankImage(800, 600, background);
        QPainter painter(&image);
        renderer.DrawPlot(painter, *data.doc, kWindow, 1, displayFont, hits);
        return image;
    }
    QImage drawToDC(const PlotFrame &frame, int unit, int zoom, QColor background = Qt::white)
    {
        QImage image = blankImage(frame.right, frame.bottom, background);
        QPainter painter(&image);
        renderer.DrawPlotToDC(painter, *data.doc, frame, unit, zoom);
        return image;
    }

    FakeDocument data;
    ChartRenderer renderer;
    QFont displayFont = ChartFonts::logicalFont(QStringLiteral("DisplayFont"), 16, 7);
    std::array<QRect, 10000> hits{};
};

int blackRowsInColumn(const QImage &image, int x, int *first = nullptr, int *last = nullptr)
{
    const QRect box = inkBox(image, QRect(x, 0, 1, image.height()));
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += isBlack(image, x, y);
    if (first && last)
        *first = box.top(), *last = box.bottom();
    return count;
}

// Four tokens far from their mean, so the disc and group label stand clear of them.
std::vector<FakeRow> wideGroup(const QString &a, const QString &b, int order)
{
    return {{300, 1000, 1000, a, order},
            {300, 2000, 2000, b, order},
            {700, 1000, 1000, a, order},
            {700, 2000, 2000, a, order}};
}

QPoint wideGroupCentre()
{
    GroupMoments m;
    for (auto [f1, f2] : {std::pair{300, 1000}, {300, 2000}, {700, 1000}, {700, 2000}})
        m.add(HzToBark(f1), HzToBark(f2));
    int x = 0;
    int y = 0;
    kScreen.mapBark(m.m1(), m.m2(), x, y);
    return {x, y};
}

TEST(ChartAxes, TicksCaptionsAndLabelsOfThe800x600Window)
{
    Chart chart({{500, 1500, 0, "", 1}});
    const QImage image = chart.draw(QColor(kGrey));

    // F1: 14 ticks from row 50 to 493, each line hidden from x = 710 on by its label box.
    int first = 0;
    int last = 0;
    EXPECT_EQ(blackRowsInColumn(image, 705, &first, &last), 14);
    EXPECT_EQ(std::pair(first, last), std::pair(50, 493));
    const int y300 = kScreen.yOfF1(300);
    EXPECT_EQ(inkBox(image, QRect(690, y300, 30, 1)), QRect(700, y300, 10, 1));
    for (int hz = 200; hz <= 1500; hz += 100)
        EXPECT_EQ(inkBox(image, QRect(705, kScreen.yOfF1(hz) - 4, 60, 9), kWhite).left(), 710);

    // F2: 32 ticks from 699 to 295, 5 units high; labelled ones go on up to row 26.
    const QRect f2Row = inkBox(image, QRect(0, 47, 800, 1));
    EXPECT_EQ(std::pair(f2Row.left(), f2Row.right()), std::pair(295, 699));
    int ticks = 0;
    for (int x = 0; x < 800; ++x)
        ticks += isBlack(image, x, 47);
    EXPECT_EQ(ticks, 32);
    const int x600 = kScreen.xOfF2(600);
    EXPECT_EQ(inkBox(image, QRect(x600, 40, 1, 20)), QRect(x600, 46, 1, 5));
    const QRect above1000 = inkBox(image, QRect(540, 20, 20, 10)); // above the label box
    EXPECT_EQ(std::pair(above1000.top(), above1000.bottom()), std::pair(26, 29));

    // Captions and the 1000 Hz label, by their opaque boxes.
    const QRect f1Caption = inkBox(image, QRect(740, 180, 60, 60), kWhite);
    EXPECT_EQ(f1Caption.left(), 750);
    EXPECT_NEAR(f1Caption.center().y(), 207, 1);
    const QRect f2Caption = inkBox(image, QRect(400, 0, 80, 28), kWhite);
    EXPECT_EQ(f2Caption.left(), 431);
    EXPECT_NEAR(f2Caption.center().y(), 15, 1);
    const QRect label1000 = inkBox(image, QRect(520, 28, 60, 19), kWhite);
    EXPECT_EQ(label1000.top(), 30);
    EXPECT_NEAR(label1000.center().x(), 551, 1);
}

TEST(ChartTokens, HollowCircleOrTextHangingFromThePointReadAtEveryPaint)
{
    Chart chart({{500, 1500, 0, "", 0}, {1500, 3500, 0, "a", 1}});
    QImage image = chart.draw();
    EXPECT_EQ(inkBox(image, QRect(455, 175, 20, 20)), QRect(464, 183, 5, 5));
    EXPECT_FALSE(isBlack(image, 466, 185));

    QPainter painter(&image);
    painter.setFont(ChartFonts::deviceDefaultFont(&image));
    const QSize box = ChartRenderer::GetTextSize(painter, "a");
    painter.end();
    const QRect ink = inkBox(image, QRect(280, 480, 40, 40));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(QPoint(295, 493), box).contains(ink));

    // No copy is kept: the next paint shows the edited table.
    chart.data.table->rows[0].f2 = 1000;
    EXPECT_TRUE(inkBox(chart.draw(), QRect(455, 175, 20, 20)).isEmpty());
}

TEST(ChartGroups, WorkedGroupDiscAndOutlineComeAndGoWithTheOption)
{
    Chart chart({{300, 2300, 0, "", 1}, {320, 2200, 0, "", 1}, {310, 2400, 0, "", 1}});
    const QPoint marks[] = {{375, 100}, {375, 106}, {363, 100}, {375, 94}, {387, 100}};
    const QImage on = chart.draw();
    for (QPoint p : marks)
        EXPECT_TRUE(isBlack(on, p.x(), p.y())) << p.x() << "," << p.y();
    chart.data.doc->m_bDrawEllipse = false;
    const QImage off = chart.draw();
    for (QPoint p : marks)
        EXPECT_FALSE(isBlack(off, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST(ChartGroups, DiscSizeAndGroupsOfFewerThanThreeOrSplitRuns)
{
    const QPoint c = wideGroupCentre();
    Chart chart(wideGroup("", "", 1));
    EXPECT_EQ(inkBox(chart.draw(), QRect(c.x() - 10, c.y(), 20, 1)),
              QRect(c.x() - 5, c.y(), 10, 1));

    // Order 5, then 6, then 5 again: two runs of two, neither drawn.
    std::vector<FakeRow> rows = wideGroup("a", "e", 5);
    rows.insert(rows.begin() + 2, FakeRow{500, 1500, 0, "x", 6});
    Chart split(rows);
    EXPECT_FALSE(isBlack(split.draw(), c.x(), c.y()));
    EXPECT_TRUE(split.hits[5].isEmpty());
}

TEST(ChartGroups, MixedLabelsAreRedWithAClickSquareSameLabelsBlack)
{
    const QPoint c = wideGroupCentre();
    const QRect labelArea(c.x(), c.y(), 60, 40);
    Chart same(wideGroup("a", "a", 3));
    const QImage sameImage = same.draw();
    EXPECT_TRUE(inkBox(sameImage, labelArea, kRed).isEmpty());
    EXPECT_FALSE(inkBox(sameImage, labelArea).isEmpty());
    EXPECT_TRUE(same.hits[3].isEmpty());

    Chart mixed(wideGroup("a", "e", 3));
    const QRect question = inkBox(mixed.draw(), labelArea, kRed);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_EQ(mixed.hits[3], QRect(c.x() - 30, c.y() - 30, 60, 60));
    mixed.data.doc->m_nOrderLabel[3] = 1;
    mixed.data.doc->m_strOrderLabel[3] = "eeee";
    EXPECT_GT(inkBox(mixed.draw(), labelArea, kRed).width(), question.width());

    mixed.data.doc->m_bDrawEllipse = false;
    mixed.hits[3] = QRect();
    EXPECT_TRUE(inkBox(mixed.draw(), labelArea, kRed).isEmpty());
    EXPECT_TRUE(mixed.hits[3].isEmpty());
}

TEST(ChartGroups, OrdersOutsideTheTablesShowQuestionMarkAndWriteNothingOutside)
{
    const QPoint c = wideGroupCentre();
    for (int order : {-1, 1000, 9999, 10000, INT32_MAX}) {
        Chart chart(wideGroup("a", "e", order));
        EXPECT_FALSE(inkBox(chart.draw(), QRect(c.x(), c.y(), 40, 40), kRed).isEmpty());
        const auto recorded = std::count_if(chart.hits.begin(), chart.hits.end(),
                                            [](const QRect &r) { return !r.isEmpty(); });
        EXPECT_EQ(recorded, order >= 0 && order < 10000 ? 1 : 0) << order;
    }
}

TEST(ChartData, NothingIsDrawnWithoutDataOrTable)
{
    Chart notLoaded(wideGroup("a", "e", 3));
    notLoaded.data.doc->m_bDataLoaded = false;
    EXPECT_TRUE(inkBox(notLoaded.draw(), QRect(0, 0, 800, 600)).isEmpty());
    Chart noTable(wideGroup("a", "e", 3));
    noTable.data.table.reset();
    EXPECT_TRUE(inkBox(noTable.draw(), QRect(0, 0, 800, 600)).isEmpty());
}

TEST(ChartF1F3, F3AlongTheTopAndFramedQuestionMarksOnScreenOnly)
{
    Chart f3({{500, 9999, 1500, "", 1}}, ChartKind::F1F3);
    const QImage image = f3.draw();
    EXPECT_EQ(inkBox(image, QRect(455, 175, 20, 20)), QRect(464, 183, 5, 5));
    int ticks = 0;
    for (int x = 0; x < 800; ++x)
        ticks += isBlack(image, x, 47);
    EXPECT_EQ(ticks, 27);

    Chart chart(wideGroup("a", "e", 3), ChartKind::F1F3);
    const QPoint c = wideGroupCentre();
    EXPECT_EQ(inkBox(chart.draw(), QRect(c.x() - 40, c.y(), 80, 1)).left(), c.x() - 30);
    EXPECT_TRUE(isBlack(chart.draw(), c.x() + 29, c.y()));
    EXPECT_FALSE(isBlack(chart.drawToDC(kWindow, 1, 1), c.x() - 30, c.y()));
    chart.data.doc->m_nOrderLabel[3] = 0;
    EXPECT_FALSE(isBlack(chart.draw(), c.x() - 30, c.y()));
}

// Print and bitmap output: the F1-F3 chart leaves token texts on white boxes while the
// F1-F2 chart draws them transparently; the unit scales ticks and fonts.
TEST(ChartDeviceOutput, TextBackgroundsAndUnitScaling)
{
    for (ChartKind kind : {ChartKind::F1F2, ChartKind::F1F3}) {
        Chart chart({{1500, 3500, 3500, "a", 1}}, kind);
        const QImage image = chart.drawToDC(kWindow, 1, 1, QColor(kGrey));
        EXPECT_EQ(inkBox(image, QRect(295, 493, 8, 8), kWhite).isEmpty(), kind == ChartKind::F1F2);
    }

    Chart chart({{500, 1500, 0, "", 1}});
    const PlotFrame frame{0, 0, 1000, 1000};
    const PlotGeometry g = PlotGeometry::compute(frame, 5, 2);
    const QImage image = chart.drawToDC(frame, 5, 2, QColor(kGrey));
    const int y = g.yOfF1(300);
    EXPECT_EQ(inkBox(image, QRect(g.xAxis - 5, y, 40, 1)), QRect(g.xAxis, y, 30, 1));
    const QRect label = inkBox(image, QRect(g.xAxis + 25, y - 40, 75, 80), kWhite);
    EXPECT_EQ(label.left(), g.xAxis + 30);
    EXPECT_NEAR(label.height(), 60, 6);
    const int x = g.xOfF2(400);
    EXPECT_EQ(inkBox(image, QRect(x, 0, 1, g.yAxis)), QRect(x, g.yAxis - 24, 1, 24));
}

} // namespace
