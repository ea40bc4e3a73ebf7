// The chart windows: which click squares answer, and the windows of real table windows.

#include "faketable.h"
#include "framework/modaldialogs.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f3.h"
#include "table/tablesession.h"

#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

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

// A file opened as the program opens it, in two table windows: one chart window per kind
// and table, with its title, brought back while open, forgotten once closed, closing with
// its table while the other table's stay. A mixed group made by editing a symbol in one
// window has its red "?" clicked in the other's chart and a label chosen, which the
// document keeps and the chart shows. Without vowel numbers a chart is refused.
TEST(PlotWindows, EachTablesChartsAndALabelChosenFromTheChart)
{
    TableSession session;
    CTessavoxFormView *first = session.openTable({{300, 2300, 2900, "i"},
                                                  {320, 2200, 2800, "i"},
                                                  {310, 2400, 2700, "i"},
                                                  {700, 1200, 2500, "a"}});
    ASSERT_TRUE(first);
    QPointer<CTessavoxDoc> doc = first->GetDocument();
    CTessavoxFormView *table = newWindow(doc);
    ASSERT_TRUE(table);
    first->OnPlotF1F3();
    const QPointer<DocumentWindow> firstsChart = first->m_pF1F3Frame;
    ASSERT_TRUE(firstsChart);
    EXPECT_EQ(firstsChart->windowTitle(), "tokens.txt::F1 vs F3 ");
    table->OnPlotF1F2();
    QPointer<DocumentWindow> frame = table->m_pF1F2Frame;
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->windowTitle(), "tokens.txt::F1 vs F2 ");
    table->OnPlotF1F2();
    EXPECT_EQ(table->m_pF1F2Frame, frame);
    auto *chart = dynamic_cast<CPlotViewF1F2 *>(frame->activeView());
    ASSERT_NE(chart, nullptr);
    // After sorting, "a" is row 0 and the three "i" rows follow with one order number.
    const std::size_t order = std::size_t(table->GetCellInt(1, 4));
    ASSERT_EQ(table->GetCellInt(3, 4), int(order));
    first->SetCellText(2, 3, "e", 1);
    const QImage before = paint(*chart);
    QStringList offered;
    ScopedModalRunner pick([&](QDialog &dialog) {
        auto *combo = dialog.findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        combo->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    // The "i" group's click square reaches 30 units round its mean.
    const QPoint mean = screenMean({{320, 2200}, {310, 2400}, {300, 2300}});
    QTest::mouseClick(chart, Qt::LeftButton, {}, mean + QPoint(10, 10));
    EXPECT_EQ(offered, QStringList({"i", "e", "i"}));
    EXPECT_EQ(doc->m_nOrderLabel[order], 1);
    EXPECT_EQ(doc->m_strOrderLabel[order], "e");
    // The chosen label replaces the red "?".
    const QRect label(mean, QSize(40, 40));
    EXPECT_NE(ink(before, label, qRgb(255, 0, 0)).box,
              ink(paint(*chart), label, qRgb(255, 0, 0)).box);
    // A window paints through a painter redirected to its place in the top-level window;
    // the axis texts, on opaque boxes, land there too (the F1 caption, 50 units right of
    // the axis, half a Bark below 500 Hz).
    QImage placed = blankImage(900, 700, Qt::gray);
    chart->render(&placed, QPoint(100, 50));
    const PlotGeometry g = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
    const QPoint caption(g.xAxis + 50, toDeviceUnits(g.yOrigin + g.kF1 * (HzToBark(500) + 0.5)));
    EXPECT_GT(ink(placed, QRect(QPoint(100, 50) + caption - QPoint(0, 10), QSize(30, 20))).count,
              0);

    DocumentWindow::frameOf(first)->close();
    settle();
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->hasTable());
    EXPECT_FALSE(firstsChart);
    ASSERT_TRUE(frame);
    frame->close();
    settle();
    EXPECT_FALSE(frame || table->m_pF1F2Frame);
    table->OnPlotF1F2();
    EXPECT_TRUE(table->m_pF1F2Frame);
    for (int row = 0; row < 4; ++row)
        type(table, row, 4, QVariant());
    table->OnPlotF1F2(); // even while its window is open
    EXPECT_EQ(session.capture.events(), QStringList{LoadString(IDS_ERR_NO_ORDER)});
}

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// A chart once kept showing the table as it was until it was clicked, while the
// Statistics window followed every edit.
TEST(PlotWindows, EveryOpenChartRepaintsAfterAnEditFromAnyTableWindow)
{
    TableSession session;
    CTessavoxFormView *first = session.openTable(kVowels);
    ASSERT_TRUE(first);
    CTessavoxFormView *second = newWindow(first->GetDocument());
    ASSERT_TRUE(second);
    first->OnPlotF1F2();
    first->OnPlotF1F3();
    std::vector<std::unique_ptr<PaintCounter>> counters;
    for (DocumentWindow *frame : {first->m_pF1F2Frame.data(), first->m_pF1F3Frame.data()}) {
        ASSERT_TRUE(frame);
        frame->resize(300, 240);
        counters.push_back(std::make_unique<PaintCounter>(frame->activeView()));
    }
    // Side by side, so neither hides the other.
    first->m_pF1F3Frame->move(320, 0);
    const std::vector<std::function<void()>> edits = {
        [&] { type(second, 0, TokenTableModel::F1, 650); },
        [&] { second->OnEditAddRow(); },
        [&] { second->GetDocument()->OnEditUndo(); },
        [&] { type(second, 0, TokenTableModel::Symbol, QStringLiteral("z")); },
        [&] { second->OnEditSort(); }, // "z" moves to the end
        [&] { second->grid().setRowSelected(1, true); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        QCoreApplication::processEvents();
        for (auto &counter : counters)
            counter->paints = 0;
        edits[i]();
        QCoreApplication::processEvents();
        for (auto &counter : counters)
            EXPECT_GT(counter->paints, 0) << "edit " << i;
    }
}

} // namespace

namespace {

// Outliers that could not be marked said nothing where the user looks: the chart's status
// bar now gives the reason, again after a menu's tip has wiped it, and drops it once the
// marking is turned off.
TEST(PlotView, TheStatusBarSaysWhyNoOutlierIsMarked)
{
    std::vector<FakeRow> rows;
    for (int k = 0; k < 3; ++k) {
        rows.push_back({300 + 20 * k, 2300 - 50 * k, 2900, QStringLiteral("i"), 1});
        rows.push_back({700 + 20 * k, 1200 + 30 * k * k, 2500, QStringLiteral("a"), 2});
    }
    FakeDocument data(rows);
    data.doc->m_analysis.outlierLevel = 0.95;
    QMainWindow main;
    auto *view = new CPlotViewF1F2;
    main.setCentralWidget(view);
    data.doc->addView(view);
    main.resize(800, 600);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    view->repaint();
    QStatusBar *bar = main.statusBar();
    EXPECT_TRUE(bar->currentMessage().contains("outliers: fewer than 4 tokens"))
        << bar->currentMessage().toStdString();

    bar->clearMessage();
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(view, &enter);
    EXPECT_TRUE(bar->currentMessage().contains("outliers:"));

    data.doc->m_analysis.outlierLevel = 0.0;
    view->repaint();
    EXPECT_TRUE(bar->currentMessage().isEmpty()) << bar->currentMessage().toStdString();
}

} // namespace
