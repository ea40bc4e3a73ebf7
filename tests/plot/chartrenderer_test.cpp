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

struct Chart
{
    explicit Chart(std::vector<FakeRow> rows, ChartKind kind = ChartKind::F1F2)
        : data(std::move(rows)), renderer(kind)
    {}

    QImage draw(QColor background = Qt::white)
    {
        QImage image = blankImage(800, 600, background);
        QPainter painter(&image);
        renderer.DrawPlot(painter, *data.doc, kWindow, 1, displayFont, hits);
        return image;
    }
    QImage drawToDC(int width, int height, const PlotFrame &frame, int unit, int zoom)
    {
        QImage image = blankImage(width, height, Qt::white);
        QPainter painter(&image);
        renderer.DrawPlotToDC(painter, *data.doc, frame, unit, zoom);
        return image;
    }

    FakeDocument data;
    ChartRenderer renderer;
    QFont displayFont = ChartFonts::logicalFont(QStringLiteral("DisplayFont"), 16, 7);
    std::array<QRect, 10000> hits{};
};

// Bounding box of the pixels of `colour` inside `area`; empty when there are none.
QRect inkBox(const QImage &image, const QRect &area, QRgb colour)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

const QRgb kGrey = qRgb(200, 200, 200);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const PlotGeometry kScreen = PlotGeometry::compute(kWindow, 1, 1);

// Row y holds a black run from x0 to x1 inclusive, and nothing black just beyond it.
void expectBlackRun(const QImage &image, int y, int x0, int x1)
{
    for (int x = x0; x <= x1; ++x)
        EXPECT_TRUE(isBlack(image, x, y)) << "(" << x << ", " << y << ")";
    EXPECT_FALSE(isBlack(image, x0 - 1, y)) << "(" << x0 - 1 << ", " << y << ")";
    EXPECT_FALSE(isBlack(image, x1 + 1, y)) << "(" << x1 + 1 << ", " << y << ")";
}

std::vector<int> blackRowsInColumn(const QImage &image, int x)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (isBlack(image, x, y))
            rows.push_back(y);
    return rows;
}

std::vector<int> blackColumnsInRow(const QImage &image, int y, int x0, int x1)
{
    std::vector<int> columns;
    for (int x = x0; x <= x1; ++x)
        if (isBlack(image, x, y))
            columns.push_back(x);
    return columns;
}

// Three tokens of one vowel: the worked example of a group, centred at (375, 100).
std::vector<FakeRow> threeTokenGroup(const QString &a = "i", const QString &b = "i",
                                     const QString &c = "i", int order = 1)
{
    return {{300, 2300, 0, a, order}, {320, 2200, 0, b, order}, {310, 2400, 0, c, order}};
}

// Four tokens far from their mean, so the disc and label stand clear of them.
std::vector<FakeRow> wideGroup(const QString &a, const QString &b, int order)
{
    return {{300, 1000, 0, a, order},
            {300, 2000, 0, b, order},
            {700, 1000, 0, a, order},
            {700, 2000, 0, a, order}};
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

TEST(ChartAxes, TicksOfTheDefaultBoundsAtTheirRowsAndColumns)
{
    Chart chart({{500, 1500, 0, "", 1}});
    const QImage image = chart.draw();

    // F1 ticks: 14 lines right of the axis, 200 Hz on the axis row, 1500 Hz at 493; the
    // label box from x = 710 on hides the rest of each line.
    std::vector<int> f1Rows = blackRowsInColumn(image, 705);
    ASSERT_EQ(f1Rows.size(), 14u);
    EXPECT_EQ(f1Rows.front(), 50);
    EXPECT_EQ(f1Rows.back(), 493);
    // (200 Hz meets the 400 Hz tick at the corner.)
    for (int hz = 300; hz <= 1500; hz += 100)
        expectBlackRun(image, kScreen.yOfF1(hz), 700, 709);

    // F2 ticks: 32 columns from 699 (400 Hz) to 295 (3500 Hz), each 5 units high.
    const std::vector<int> f2Columns = blackColumnsInRow(image, 47, 250, 720);
    ASSERT_EQ(f2Columns.size(), 32u);
    EXPECT_EQ(f2Columns.back(), 699);
    EXPECT_EQ(f2Columns.front(), 295);
    const int x600 = kScreen.xOfF2(600);
    EXPECT_TRUE(isBlack(image, x600, 50));
    EXPECT_TRUE(isBlack(image, x600, 46));
    EXPECT_FALSE(isBlack(image, x600, 45));
    EXPECT_FALSE(isBlack(image, x600, 51));
    // A labelled tick goes on up past its label's opaque box, to 25 units above the axis.
    const int x1000 = kScreen.xOfF2(1000) + 1;
    EXPECT_TRUE(isBlack(image, x1000, 26));
    EXPECT_FALSE(isBlack(image, x1000, 25));
}

// Axis texts are written on an opaque white box: on a grey window each box shows where
// its text was placed.
TEST(ChartAxes, CaptionsAndLabelsStandAtTheirPositions)
{
    Chart chart({{500, 1500, 0, "", 1}});
    const QImage image = chart.draw(QColor(kGrey));

    const QRect f1Caption = inkBox(image, QRect(740, 180, 60, 60), kWhite);
    ASSERT_FALSE(f1Caption.isEmpty());
    EXPECT_EQ(f1Caption.left(), 750);
    EXPECT_NEAR(f1Caption.center().y(), 207, 1);

    const QRect f2Caption = inkBox(image, QRect(400, 0, 80, 28), kWhite);
    ASSERT_FALSE(f2Caption.isEmpty());
    EXPECT_EQ(f2Caption.left(), 431);
    EXPECT_NEAR(f2Caption.center().y(), 15, 1);

    for (int hz = 200; hz <= 1500; hz += 100) {
        const int y = kScreen.yOfF1(hz);
        const QRect label = inkBox(image, QRect(705, y - 4, 60, 9), kWhite);
        EXPECT_EQ(label.left(), 710) << hz;
    }

    const QRect label1000 = inkBox(image, QRect(520, 28, 60, 19), kWhite);
    ASSERT_FALSE(label1000.isEmpty());
    EXPECT_EQ(label1000.top(), 30);
    EXPECT_NEAR(label1000.center().x(), 551, 1);
}

TEST(ChartAxes, BoundsBelowTheFirstTickDrawNoTicks)
{
    Chart chart({{500, 1500, 0, "", 1}});
    chart.data.doc->m_nF1Max = 199;
    chart.data.doc->m_nF2Max = 399;
    const QImage image = chart.draw();
    EXPECT_TRUE(blackRowsInColumn(image, 705).empty());
    EXPECT_TRUE(blackColumnsInRow(image, 47, 0, 799).empty());
}

TEST(ChartTokens, EmptySymbolIsAHollowCircleAndTextHangsFromItsPoint)
{
    Chart chart({{500, 1500, 0, "", 0}, {1500, 3500, 0, "a", 1}});
    const QImage image = chart.draw();

    // 5 x 5 circle with its top-left corner at (464, 183), hollow.
    const QRect circle = inkBox(image, QRect(455, 175, 20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(circle, QRect(464, 183, 5, 5));
    EXPECT_FALSE(isBlack(image, 466, 185));

    // The letter lies in the line box whose top-left corner is (295, 493).
    QPainter painter(const_cast<QImage *>(&image));
    painter.setFont(ChartFonts::deviceDefaultFont(&image));
    const QSize box = ChartRenderer::GetTextSize(painter, "a");
    painter.end();
    const QRect ink = inkBox(image, QRect(280, 480, 40, 40), qRgb(0, 0, 0));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(QPoint(295, 493), box).contains(ink)) << ink.x() << "," << ink.y();
}

TEST(ChartGroups, ThreeTokenGroupDiscAndOutline)
{
    Chart chart(threeTokenGroup("", "", ""));
    const QImage withLayer = chart.draw();
    EXPECT_TRUE(isBlack(withLayer, 375, 100));
    for (QPoint p : {QPoint(375, 106), QPoint(363, 100), QPoint(375, 94), QPoint(387, 100)})
        EXPECT_TRUE(isBlack(withLayer, p.x(), p.y())) << p.x() << "," << p.y();

    chart.data.doc->m_bDrawEllipse = false;
    const QImage without = chart.draw();
    for (QPoint p : {QPoint(375, 100), QPoint(375, 106), QPoint(363, 100), QPoint(387, 100)})
        EXPECT_FALSE(isBlack(without, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST(ChartGroups, DiscIsTenUnitsAcrossAndSmallGroupsGetNothing)
{
    const QPoint c = wideGroupCentre();
    Chart chart(wideGroup("", "", 1));
    const QImage image = chart.draw();
    expectBlackRun(image, c.y(), c.x() - 5, c.x() + 4);

    // Two tokens of the same order: no disc, no label, no ellipse.
    std::vector<FakeRow> rows = wideGroup("", "", 1);
    rows.resize(2);
    Chart pair(rows);
    EXPECT_FALSE(isBlack(pair.draw(), c.x(), c.y()));
}

TEST(ChartGroups, MixedLabelsShowRedAndRecordTheirSquare)
{
    const QPoint c = wideGroupCentre();
    const QRect labelArea(c.x(), c.y(), 40, 40);

    Chart same(wideGroup("a", "a", 3));
    const QImage sameImage = same.draw();
    EXPECT_TRUE(inkBox(sameImage, labelArea, kRed).isEmpty());
    EXPECT_FALSE(inkBox(sameImage, labelArea, qRgb(0, 0, 0)).isEmpty());
    EXPECT_TRUE(same.hits[3].isEmpty());

    Chart mixed(wideGroup("a", "e", 3));
    EXPECT_FALSE(inkBox(mixed.draw(), labelArea, kRed).isEmpty());
    EXPECT_EQ(mixed.hits[3], QRect(c.x() - 30, c.y() - 30, 60, 60));
    EXPECT_TRUE(mixed.hits[3].contains(c.x() + 29, c.y() + 29));
    EXPECT_FALSE(mixed.hits[3].contains(c.x() + 30, c.y()));

    // A chosen label replaces "?", still red.
    const QRect question = inkBox(mixed.draw(), labelArea, kRed);
    mixed.data.doc->m_nOrderLabel[3] = 1;
    mixed.data.doc->m_strOrderLabel[3] = "eeee";
    const QRect chosen = inkBox(mixed.draw(), labelArea, kRed);
    EXPECT_GT(chosen.width(), question.width());
}

TEST(ChartGroups, OrdersOutsideTheTablesStayUnresolvedAndWriteNothingOutside)
{
    const QPoint c = wideGroupCentre();
    for (int order : {-1, 1000, 9999, 10000, INT32_MAX}) {
        Chart chart(wideGroup("a", "e", order));
        const QImage image = chart.draw();
        EXPECT_FALSE(inkBox(image, QRect(c.x(), c.y(), 40, 40), kRed).isEmpty()) << order;
        for (int i = 0; i < int(chart.hits.size()); ++i) {
            if (i != order) {
                EXPECT_TRUE(chart.hits[std::size_t(i)].isEmpty()) << order;
            }
        }
    }
}

TEST(ChartGroups, GroupsAreRunsOfOneOrder)
{
    // Order 5, then 6, then 5 again: two separate groups of 5, each too small.
    std::vector<FakeRow> rows = wideGroup("a", "e", 5);
    rows.insert(rows.begin() + 2, FakeRow{500, 1500, 0, "x", 6});
    Chart chart(rows);
    const QImage image = chart.draw();
    const QPoint c = wideGroupCentre();
    EXPECT_FALSE(isBlack(image, c.x(), c.y()));
    EXPECT_TRUE(chart.hits[5].isEmpty());
}

TEST(ChartGroups, DrawEllipseOffLeavesDiscsLabelsAndSquaresOut)
{
    Chart chart(wideGroup("a", "e", 3));
    chart.data.doc->m_bDrawEllipse = false;
    const QPoint c = wideGroupCentre();
    const QImage image = chart.draw();
    EXPECT_FALSE(isBlack(image, c.x(), c.y()));
    EXPECT_TRUE(inkBox(image, image.rect(), kRed).isEmpty());
    EXPECT_TRUE(chart.hits[3].isEmpty());
}

TEST(ChartData, NothingIsDrawnWithoutDataOrTable)
{
    Chart notLoaded(wideGroup("a", "e", 3));
    notLoaded.data.doc->m_bDataLoaded = false;
    QImage image = notLoaded.draw();
    EXPECT_TRUE(inkBox(image, image.rect(), qRgb(0, 0, 0)).isEmpty());

    Chart noTable(wideGroup("a", "e", 3));
    noTable.data.table.reset();
    image = noTable.draw();
    EXPECT_TRUE(inkBox(image, image.rect(), qRgb(0, 0, 0)).isEmpty());
    EXPECT_TRUE(noTable.hits[3].isEmpty());
}

TEST(ChartData, EveryPaintReadsTheTableAfresh)
{
    Chart chart({{500, 1500, 0, "", 1}});
    chart.draw();
    chart.data.table->rows[0].f2 = 3500;
    const QImage image = chart.draw();
    EXPECT_EQ(inkBox(image, QRect(455, 175, 20, 20), qRgb(0, 0, 0)), QRect());
    EXPECT_FALSE(inkBox(image, QRect(290, 180, 20, 20), qRgb(0, 0, 0)).isEmpty());
}

TEST(ChartF1F3, UsesF3AndFramesUnresolvedGroupsOnScreenOnly)
{
    // F3 in the horizontal place: a token with F3 = 1500 lands where F2 = 1500 would.
    Chart f3({{500, 9999, 1500, "", 1}}, ChartKind::F1F3);
    EXPECT_EQ(inkBox(f3.draw(), QRect(455, 175, 20, 20), qRgb(0, 0, 0)), QRect(464, 183, 5, 5));
    // Default F3 bound 3000: 27 ticks.
    EXPECT_EQ(blackColumnsInRow(f3.draw(), 47, 250, 720).size(), 27u);

    std::vector<FakeRow> rows = wideGroup("a", "e", 3);
    for (FakeRow &row : rows)
        std::swap(row.f2, row.f3);
    Chart chart(rows, ChartKind::F1F3);
    const QPoint c = wideGroupCentre();
    QImage image = chart.draw();
    EXPECT_TRUE(isBlack(image, c.x() - 30, c.y()));
    EXPECT_TRUE(isBlack(image, c.x() + 29, c.y()));
    EXPECT_TRUE(isBlack(image, c.x(), c.y() - 30));

    image = chart.drawToDC(800, 600, kWindow, 1, 1);
    EXPECT_FALSE(isBlack(image, c.x() - 30, c.y()));

    chart.data.doc->m_nOrderLabel[3] = 0;
    chart.data.doc->m_strOrderLabel[3] = "a";
    image = chart.draw();
    EXPECT_FALSE(isBlack(image, c.x() - 30, c.y()));
}

// In print and bitmap output the F1-F3 chart leaves its texts on white boxes; the F1-F2
// chart draws token and group texts transparently.
TEST(ChartDeviceOutput, TextBackgroundDiffersBetweenTheCharts)
{
    const std::vector<FakeRow> rows = {{1500, 3500, 3500, "a", 1}};
    const QRect token(QPoint(295, 493), QSize(8, 8));
    for (ChartKind kind : {ChartKind::F1F2, ChartKind::F1F3}) {
        Chart chart(rows, kind);
        QImage image = blankImage(800, 600, QColor(kGrey));
        QPainter painter(&image);
        chart.renderer.DrawPlotToDC(painter, *chart.data.doc, kWindow, 1, 1);
        painter.end();
        const bool boxed = !inkBox(image, token, kWhite).isEmpty();
        EXPECT_EQ(boxed, kind == ChartKind::F1F3);
    }
}

TEST(ChartDeviceOutput, UnitScalesTicksAndFonts)
{
    // Unit 5, zoom 2 as on a printed page, with a frame whose right edge is 1000.
    Chart chart({{500, 1500, 0, "", 1}});
    const PlotFrame frame{0, 0, 1000, 1000};
    const PlotGeometry g = PlotGeometry::compute(frame, 5, 2);
    QImage image = blankImage(1000, 1000, QColor(kGrey));
    QPainter painter(&image);
    chart.renderer.DrawPlotToDC(painter, *chart.data.doc, frame, 5, 2);
    painter.end();

    // F1 tick: line from the axis to the label box 30 units right of it.
    const int y = g.yOfF1(300);
    expectBlackRun(image, y, g.xAxis, g.xAxis + 29);
    const QRect label = inkBox(image, QRect(g.xAxis + 25, y - 40, 75, 80), kWhite);
    EXPECT_EQ(label.left(), g.xAxis + 30);
    EXPECT_LE(label.height(), 60);
    EXPECT_GE(label.height(), 50);

    // Unlabelled F2 tick: 25 units high.
    const int x = g.xOfF2(400);
    EXPECT_TRUE(isBlack(image, x, g.yAxis - 24));
    EXPECT_FALSE(isBlack(image, x, g.yAxis - 25));
}

} // namespace
