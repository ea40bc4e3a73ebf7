// The chart windows: which click squares answer, and the windows of a real table window.

#include "faketable.h"
#include "framework/childframe.h"
#include "framework/commandids.h"
#include "framework/modaldialogs.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f3.h"
#include "plot/plotwindows.h"
#include "table/plottemplates.h"
#include "table/tessavoxformview.h"
#include "testfiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The view at 800 x 600, painted once so that its click squares are recorded.
QImage paint(PlotView &view)
{
    view.resize(800, 600);
    QImage image = blankImage();
    QPainter painter(&image);
    view.OnDraw(painter);
    return image;
}

// Only orders below 100 answer a click (the F1-F3 view keeps squares for those only);
// of two groups at one place the lower order answers; Cancel keeps the labels.
TEST(PlotView, ClickSquaresOfOrdersBelow100AnswerTheLowestFirst)
{
    std::vector<FakeRow> rows = wideGroup("a", "e", 120);
    for (int order : {7, 4})
        std::ranges::copy(wideGroup("a", "e", order), std::back_inserter(rows));
    FakeDocument data(rows);
    CPlotViewF1F2 f1f2;
    CPlotViewF1F3 f1f3;
    for (PlotView *view : std::initializer_list<PlotView *>{&f1f2, &f1f3}) {
        data.doc->addView(view);
        paint(*view);
    }
    EXPECT_FALSE(f1f2.labelHits()[120].isEmpty());
    EXPECT_EQ(std::ranges::count_if(f1f3.labelHits(), [](QRect r) { return !r.isEmpty(); }), 2);
    for (int answer : {QDialog::Rejected, QDialog::Accepted}) {
        ScopedModalRunner runner([answer](QDialog &) { return answer; });
        f1f2.OnLButtonUp(kWideCentre);
        EXPECT_EQ(data.doc->m_nOrderLabel[4], answer == QDialog::Accepted ? 0 : -1);
    }
    EXPECT_EQ(data.doc->m_strOrderLabel[4], "a");
    EXPECT_EQ(data.doc->m_nOrderLabel[7], -1);
}

// vowels.txt opened as the program opens it, with its table view: one chart window per
// kind with its title, reused while open; a mixed group made by editing a symbol has its
// red "?" clicked and a label chosen, which the document keeps and the chart shows.
TEST(PlotWindows, OneWindowPerKindAndALabelChosenFromTheChart)
{
    TestFiles files;
    auto doc = std::make_unique<CTessavoxDoc>();
    auto table = std::make_unique<CTessavoxFormView>();
    RegisterPlotWindows();
    const QString path = files.write("vowels.txt", "F1 F2 F3 vowel\n300 2300 2900 \"i\"\n"
                                                   "320 2200 2800 \"i\"\n310 2400 2700 \"i\"\n"
                                                   "700 1200 2500 \"a\"\n");
    ASSERT_TRUE(doc->OnOpenDocument(path));
    doc->setPathName(path);
    doc->addView(table.get());
    table->OnInitialUpdate();
    table->OnPlotF1F3();
    ASSERT_TRUE(table->m_pF1F3Frame);
    EXPECT_EQ(table->m_pF1F3Frame->windowTitle(), "vowels.txt::F1 vs F3 ");
    table->OnPlotF1F2();
    QPointer<ChildFrame> frame = table->m_pF1F2Frame;
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->windowTitle(), "vowels.txt::F1 vs F2 ");
    table->OnPlotF1F2();
    EXPECT_EQ(table->m_pF1F2Frame, frame);
    auto *chart = dynamic_cast<CPlotViewF1F2 *>(frame->activeView());
    ASSERT_NE(chart, nullptr);
    // After sorting, "a" is row 0 and the three "i" rows follow with one order number.
    const std::size_t order = std::size_t(table->GetCellInt(1, 4));
    ASSERT_EQ(table->GetCellInt(3, 4), int(order));
    table->SetCellText(2, 3, "e", 1);
    const QImage before = paint(*chart);
    QStringList offered;
    ScopedModalRunner pick([&](QDialog &dialog) {
        auto *combo = dialog.findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        combo->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(385, 110));
    EXPECT_EQ(offered, QStringList({"i", "e", "i"}));
    EXPECT_EQ(doc->m_nOrderLabel[order], 1);
    EXPECT_EQ(doc->m_strOrderLabel[order], "e");
    // The chosen label replaces the red "?".
    const QRect label(375, 100, 40, 40);
    EXPECT_NE(ink(before, label, qRgb(255, 0, 0)).box,
              ink(paint(*chart), label, qRgb(255, 0, 0)).box);
    // A window paints through a painter redirected to its place in the top-level window;
    // the axis texts, on opaque boxes, land there too (the F1 caption at 750, 207).
    QImage placed = blankImage(900, 700, Qt::gray);
    chart->render(&placed, QPoint(100, 50));
    EXPECT_GT(ink(placed, QRect(100 + 750, 50 + 197, 30, 20)).count, 0);
    // A closed window is forgotten and the next command opens a new one.
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame || table->m_pF1F2Frame);
    table->OnPlotF1F2();
    EXPECT_TRUE(table->m_pF1F2Frame);
    // Charts close with the table, before the document goes.
    table.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
    PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
}

} // namespace
