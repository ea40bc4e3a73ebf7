// Charts linked to the table: tokens found under a point or in a rectangle, clicks and drags
// at places worked out from the chart's geometry, the selected rows' highlight, tooltips,
// and zoom and pan with the ticks following.

#include "faketable.h"
#include "framework/modaldialogs.h"
#include "plot/chartfonts.h"
#include "plot/chartrenderer.h"
#include "plot/chartzoom.h"
#include "plot/exportchartdialog.h"
#include "plot/plotviewf1f2.h"
#include "plot/tokenhittest.h"
#include "table/tablesession.h"

#include <QCheckBox>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(TokenHitTest, NearestBoxUnderThePointAndCentresInsideTheRectangle)
{
    const std::vector<TokenMark> marks = {
        {0, QRect(100, 100, 20, 10)}, {1, QRect(110, 100, 20, 10)}, {2, QRect(300, 50, 5, 5)}};
    EXPECT_EQ(TokenHitTest::rowAt(marks, QPoint(102, 105)), 0);
    EXPECT_EQ(TokenHitTest::rowAt(marks, QPoint(128, 105)), 1);
    // Overlapping boxes: the centre nearest the point wins.
    EXPECT_EQ(TokenHitTest::rowAt(marks, QPoint(116, 105)), 1);
    EXPECT_EQ(TokenHitTest::rowAt(marks, QPoint(306, 56)), 2); // within the slack
    EXPECT_EQ(TokenHitTest::rowAt(marks, QPoint(309, 59)), -1);
    EXPECT_EQ(TokenHitTest::rowAt({}, QPoint(0, 0)), -1);
    // A rectangle dragged either way holds the marks whose centres it holds, once each.
    std::vector<TokenMark> twice = marks;
    twice.push_back({0, QRect(100, 100, 20, 10)});
    EXPECT_EQ(TokenHitTest::rowsIn(twice, QRect(QPoint(125, 120), QPoint(95, 95))),
              (std::vector<int>{0, 1}));
    EXPECT_TRUE(TokenHitTest::rowsIn(marks, QRect(0, 0, 10, 10)).empty());
}

TEST(ChartZoom, ThePointUnderTheWheelStaysAndTheWholeChartHasNoPan)
{
    ChartZoom zoom;
    const QPointF at(0.25, 0.75);
    zoom.zoomAt(at, 4.0);
    EXPECT_DOUBLE_EQ(zoom.scale, 4.0);
    // Whatever was at `at` is drawn there still.
    const QPointF before = at;
    EXPECT_NEAR(zoom.scale * before.x() + zoom.offset.x(), at.x(), 1e-12);
    EXPECT_NEAR(zoom.scale * before.y() + zoom.offset.y(), at.y(), 1e-12);
    zoom.zoomAt(QPointF(0.5, 0.5), 1000.0);
    EXPECT_DOUBLE_EQ(zoom.scale, ChartZoom::kMaxScale);
    zoom.zoomAt(QPointF(0.1, 0.1), 1e-6);
    EXPECT_TRUE(zoom.isWhole());
    zoom.pan(QPointF(0.3, 0.3)); // nothing to pan over in the whole chart
    EXPECT_TRUE(zoom.isWhole());
}

// A real table window and its F1-F2 chart at 800 x 600; where each token lands is worked
// out from the chart's geometry, not read off a picture.
struct LinkedChart : TableSession
{
    CTessavoxFormView *table = openTable(kVowels);
    CTessavoxDoc *doc = table ? table->GetDocument() : nullptr;
    CPlotViewF1F2 *chart = nullptr;

    LinkedChart()
    {
        if (!table)
            return;
        table->OnPlotF1F2();
        chart = table->m_pF1F2Frame
                    ? dynamic_cast<CPlotViewF1F2 *>(table->m_pF1F2Frame->activeView())
                    : nullptr;
        if (!chart)
            return;
        chart->resize(800, 600);
        chart->grab(); // a paint records where the tokens went
    }
    // The top-left corner of a token's label, as the chart maps F1 and F2.
    QPoint tokenCorner(int row) const
    {
        const PlotGeometry g = PlotGeometry::compute(PlotFrame{0, 0, 800, 600}, 1, 1);
        int x = 0, y = 0;
        g.mapBark(HzToBark(table->GetCellInt(row, 0)), HzToBark(table->GetCellInt(row, 1)), x, y);
        return QPoint(x, y);
    }
    QPoint insideLabel(int row) const { return tokenCorner(row) + QPoint(2, 5); }
    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (int r = 0; r < doc->tokens().count(); ++r)
            if (doc->tokens().row(r).selected)
                rows.push_back(r);
        return rows;
    }
};

TEST(ChartLink, AClickedTokenBecomesTheCurrentRowAndADraggedRectangleSelectsRows)
{
    LinkedChart s;
    ASSERT_TRUE(s.chart);
    // Sorted: rows 0 to 2 are "a", 3 to 5 "i", 6 "u".
    const int row = 4;
    s.table->grid().setActiveRow(0);
    QTest::mouseClick(s.chart, Qt::LeftButton, {}, s.insideLabel(row));
    EXPECT_EQ(s.table->grid().activeRow(), row);
    const QModelIndex current = s.table->grid().currentIndex();
    EXPECT_TRUE(s.table->grid().viewport()->rect().intersects(s.table->grid().visualRect(current)));
    EXPECT_TRUE(s.capture.events().isEmpty());

    // A rectangle round the three "a" tokens and nothing else.
    QRect around;
    for (int r : {0, 1, 2})
        around |= QRect(s.insideLabel(r), QSize(1, 1));
    around.adjust(-6, -8, 6, 8);
    QTest::mousePress(s.chart, Qt::LeftButton, {}, around.topLeft());
    QTest::mouseMove(s.chart, around.center());
    QTest::mouseMove(s.chart, around.bottomRight());
    QTest::mouseRelease(s.chart, Qt::LeftButton, {}, around.bottomRight());
    EXPECT_EQ(s.selectedRows(), (std::vector<int>{0, 1, 2}));
    // With Ctrl the "u" joins them; without, it alone is selected.
    const QRect u(s.insideLabel(6) - QPoint(6, 8), QSize(12, 16));
    QTest::mousePress(s.chart, Qt::LeftButton, Qt::ControlModifier, u.topLeft());
    QTest::mouseMove(s.chart, u.bottomRight());
    QTest::mouseRelease(s.chart, Qt::LeftButton, Qt::ControlModifier, u.bottomRight());
    EXPECT_EQ(s.selectedRows(), (std::vector<int>{0, 1, 2, 6}));
    // Marking rows is no edit: nothing to save, nothing to undo.
    EXPECT_FALSE(s.doc->isModified());
}

TEST(ChartLink, RowsSelectedInTheTableAreHighlightedAndTokensNameThemselves)
{
    LinkedChart s;
    ASSERT_TRUE(s.chart);
    const int row = 6; // "u"
    const QRect label(s.tokenCorner(row) - QPoint(2, 2), QSize(14, 22));
    // The amber highlight over white: full red, little blue.
    const auto highlighted = [&] {
        const QImage image = s.chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x)
                count += qRed(image.pixel(x, y)) > 240 && qBlue(image.pixel(x, y)) < 140;
        return count;
    };
    EXPECT_EQ(highlighted(), 0);
    s.table->grid().setRowSelected(row, true);
    EXPECT_GT(highlighted(), 20);

    const QString tip = s.chart->tokenToolTip(s.chart->tokenAt(s.insideLabel(row)));
    EXPECT_TRUE(tip.contains("Vowel: u")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("F1 350, F2 800, F3 2300 Hz")) << tip.toStdString();
}

TEST(ChartLink, TheWheelZoomsAboutThePointerAndResetZoomShowsTheWholeChart)
{
    LinkedChart s;
    ASSERT_TRUE(s.chart);
    const int row = 4;
    const QPoint at = s.insideLabel(row);
    const QPoint farCorner = s.tokenCorner(6);
    QWheelEvent wheel(at, s.chart->mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(s.chart, &wheel);
    s.chart->grab();
    // The token under the pointer stays there; the others spread out from it.
    EXPECT_EQ(s.chart->tokenAt(at), row);
    EXPECT_EQ(s.chart->tokenAt(farCorner + QPoint(2, 5)), -1);
    CommandState ui;
    s.chart->updateState(ID_VIEW_RESET_ZOOM, ui);
    EXPECT_TRUE(ui.enabled);

    // Export offers the zoomed view, and the whole chart when asked.
    ExportChartDialog dialog(ChartFileFormat::Png, s.chart->size(), s.chart, {}, {}, true);
    auto *zoomed = dialog.findChild<QCheckBox *>("IDC_EXPORT_ZOOMED");
    ASSERT_TRUE(zoomed);
    EXPECT_TRUE(dialog.zoomedViewChosen());
    zoomed->setChecked(false);
    EXPECT_FALSE(dialog.zoomedViewChosen());

    ASSERT_TRUE(s.chart->execute(ID_VIEW_RESET_ZOOM));
    // The keys zoom about the window's centre, in and back out.
    QTest::keyClick(s.chart, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FALSE(s.chart->renderer().zoom().isWhole());
    QTest::keyClick(s.chart, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_TRUE(s.chart->renderer().zoom().isWhole());
    s.chart->grab();
    EXPECT_EQ(s.chart->tokenAt(farCorner + QPoint(2, 5)), 6);
    s.chart->updateState(ID_VIEW_RESET_ZOOM, ui);
    EXPECT_FALSE(ui.enabled);
}

// A fitted chart zoomed four times keeps its plot area; its scale grows four times and
// the ticks are chosen afresh for the values now shown: ticks of the whole chart's range
// would stand far outside the plot.
TEST(ChartZoom, AFittedChartsTicksFollowTheZoom)
{
    std::vector<FakeRow> rows = wideGroup("a", "a", 1);
    std::ranges::copy(wideGroup("e", "e", 2), std::back_inserter(rows));
    rows.push_back({450, 1400, 2500, "o", 3});
    FakeDocument data(rows);
    data.doc->m_analysis.fit = true;
    ChartRenderer renderer(ChartKind::F1F2);
    const QFont font = ChartFonts::displayFont();
    std::vector<QRect> hits(100);
    const auto draw = [&] {
        QImage image = blankImage();
        QPainter painter(&image);
        renderer.DrawPlot(painter, *data.doc, {0, 0, 800, 600}, 1, font, hits);
        return renderer.lastLayout();
    };
    const ChartLayoutRecord whole = draw();
    ChartZoom zoom;
    zoom.zoomAt(QPointF(0.5, 0.5), 4.0);
    renderer.setZoom(zoom);
    const ChartLayoutRecord zoomed = draw();
    EXPECT_EQ(zoomed.plotArea, whole.plotArea);
    EXPECT_DOUBLE_EQ(zoomed.mapping.kx, 4 * whole.mapping.kx);
    EXPECT_DOUBLE_EQ(zoomed.mapping.ky, 4 * whole.mapping.ky);
    ASSERT_GE(zoomed.horizontalTickLabels.size(), 2u);
    ASSERT_GE(zoomed.f1TickLabels.size(), 2u);
    for (const QRect &label : zoomed.horizontalTickLabels) {
        EXPECT_GE(label.center().x(), zoomed.plotArea.left());
        EXPECT_LE(label.center().x(), zoomed.plotArea.right());
    }
    for (const QRect &label : zoomed.f1TickLabels) {
        EXPECT_GE(label.center().y(), zoomed.plotArea.top());
        EXPECT_LE(label.center().y(), zoomed.plotArea.bottom());
    }
}

} // namespace
