// The chart windows: titles, and choosing a mixed group's label by clicking its "?".

#include "barkscale.h"
#include "faketable.h"
#include "groupmoments.h"
#include "labelselectordlg.h"
#include "modaldialogs.h"
#include "plotgeometry.h"
#include "plotviewf1f2.h"
#include "plotviewf1f2frame.h"
#include "plotviewf1f3.h"
#include "plotviewf1f3frame.h"

#include <QComboBox>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Order 3 mixes "a" and "long" around one centre; order 120 mixes them around another.
std::vector<FakeRow> mixedRows(int order = 3)
{
    return {{300, 1000, 1000, "a", order},
            {300, 2000, 2000, "long", order},
            {700, 1000, 1000, "a", order},
            {700, 2000, 2000, "a", order}};
}

QPoint centreOf(const std::vector<FakeRow> &rows)
{
    GroupMoments m;
    for (const FakeRow &row : rows)
        m.add(HzToBark(row.f1), HzToBark(row.f2));
    int x = 0;
    int y = 0;
    PlotGeometry::compute({0, 0, 800, 600}, 1, 1).mapBark(m.m1(), m.m2(), x, y);
    return {x, y};
}

// A chart view of its own on the document, sized like an 800 x 600 window and painted
// once so that its click squares are recorded.
template <class ViewClass> struct ChartWindow
{
    explicit ChartWindow(FakeDocument &data) : view(new ViewClass)
    {
        data.doc->addView(view.get());
        view->resize(800, 600);
        paint();
    }
    QImage paint()
    {
        QImage image = blankImage();
        QPainter painter(&image);
        view->OnDraw(painter);
        return image;
    }
    std::unique_ptr<ViewClass> view;
};

QRect redInk(const QImage &image, const QPoint &centre)
{
    QRect box;
    for (int y = centre.y(); y < centre.y() + 40; ++y)
        for (int x = centre.x(); x < centre.x() + 80; ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(PlotFrames, TitleIsDocumentTitleWithSuffixAndTrailingBlank)
{
    FakeDocument data;
    data.doc->setTitle("vowels.txt");
    auto *f1f2 = new CPlotViewF1F2Frame;
    auto *view = new CPlotViewF1F2;
    data.doc->addView(view);
    f1f2->setView(view);
    EXPECT_EQ(f1f2->windowTitle(), "vowels.txt::F1 vs F2 ");

    auto *f1f3 = new CPlotViewF1F3Frame;
    auto *view3 = new CPlotViewF1F3;
    data.doc->addView(view3);
    f1f3->setView(view3);
    EXPECT_EQ(f1f3->windowTitle(), "vowels.txt::F1 vs F3 ");

    // A retitled document retitles its charts; no window number is ever added.
    data.doc->setTitle("other.txt");
    EXPECT_EQ(f1f2->windowTitle(), "other.txt::F1 vs F2 ");
    EXPECT_FALSE(view->keepsDocumentOpen());
    delete f1f2;
    delete f1f3;
}

// A window paints through a painter redirected to its place in the top-level window; the
// axis texts, written on opaque boxes, must land where their boxes are.
TEST(PlotViewPaint, AxisTextsFollowTheWindowsPlace)
{
    FakeDocument data({{500, 1500, 0, "", 1}});
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    view.resize(800, 600);
    QImage image = blankImage(900, 700, Qt::gray);
    view.render(&image, QPoint(100, 50));
    // The F1 caption's left edge stands at x = 750 and its centre at y = 207.
    bool captionInk = false;
    for (int y = 50 + 197; y < 50 + 217; ++y)
        for (int x = 100 + 750; x < 100 + 780; ++x)
            captionInk = captionInk || isBlack(image, x, y);
    EXPECT_TRUE(captionInk);
}

TEST(LabelSelection, ClickOnQuestionMarkOffersTheOrdersLabelsAndStoresTheChoice)
{
    std::vector<FakeRow> rows = mixedRows();
    // A row of order 3 elsewhere in the table is listed too.
    rows.push_back({500, 1500, 1500, "z", 9});
    rows.push_back({500, 1500, 1500, "a", 3});
    FakeDocument data(rows);
    ChartWindow<CPlotViewF1F2> window(data);
    const QPoint centre = centreOf(mixedRows());
    const QRect question = redInk(window.paint(), centre);
    ASSERT_FALSE(question.isEmpty());

    QStringList offered;
    int firstSelected = -1;
    ScopedModalRunner runner([&](QDialog &dialog) {
        auto *combo = dialog.findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        firstSelected = combo->currentIndex();
        EXPECT_EQ(dialog.windowTitle(), "Label Selector");
        combo->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(window.view.get(), Qt::LeftButton, {}, centre + QPoint(10, -10));

    EXPECT_EQ(offered, QStringList({"a", "long", "a", "a", "a"}));
    EXPECT_EQ(firstSelected, 0);
    EXPECT_EQ(data.doc->m_nOrderLabel[3], 1);
    EXPECT_EQ(data.doc->m_strOrderLabel[3], "long");
    const QRect chosen = redInk(window.paint(), centre);
    EXPECT_GT(chosen.width(), question.width());
}

TEST(LabelSelection, CancelAndUntouchedOkBehaveAsStated)
{
    FakeDocument data(mixedRows());
    ChartWindow<CPlotViewF1F2> window(data);
    const QPoint centre = centreOf(mixedRows());
    {
        ScopedModalRunner cancel([](QDialog &) { return int(QDialog::Rejected); });
        window.view->OnLButtonUp(centre);
    }
    EXPECT_EQ(data.doc->m_nOrderLabel[3], -1);
    {
        ScopedModalRunner ok([](QDialog &) { return int(QDialog::Accepted); });
        window.view->OnLButtonUp(centre);
    }
    EXPECT_EQ(data.doc->m_nOrderLabel[3], 0);
    EXPECT_EQ(data.doc->m_strOrderLabel[3], "a");
}

TEST(LabelSelection, OnlyOrdersBelow100AnswerAndTheLowestWins)
{
    // Order 120 gets a square in the F1-F2 view but does not answer clicks.
    FakeDocument high(mixedRows(120));
    ChartWindow<CPlotViewF1F2> highWindow(high);
    const QPoint centre = centreOf(mixedRows());
    EXPECT_FALSE(highWindow.view->labelHits()[120].isEmpty());
    int runs = 0;
    ScopedModalRunner count([&](QDialog &) {
        ++runs;
        return int(QDialog::Rejected);
    });
    highWindow.view->OnLButtonUp(centre);
    EXPECT_EQ(runs, 0);

    // The F1-F3 view keeps squares for orders 0 to 99 only.
    FakeDocument f3(mixedRows(120));
    ChartWindow<CPlotViewF1F3> f3Window(f3);
    for (const QRect &square : f3Window.view->labelHits())
        EXPECT_TRUE(square.isEmpty());

    // Two groups at the same place, orders 7 and 4: the click serves order 4.
    std::vector<FakeRow> rows = mixedRows(7);
    for (const FakeRow &row : mixedRows(4))
        rows.push_back(row);
    FakeDocument both(rows);
    ChartWindow<CPlotViewF1F2> bothWindow(both);
    {
        ScopedModalRunner ok([](QDialog &) { return int(QDialog::Accepted); });
        bothWindow.view->OnLButtonUp(centre);
    }
    EXPECT_EQ(both.doc->m_nOrderLabel[4], 0);
    EXPECT_EQ(both.doc->m_nOrderLabel[7], -1);
}

TEST(LabelSelection, ChoiceInOneChartShowsInTheOther)
{
    FakeDocument data(mixedRows());
    ChartWindow<CPlotViewF1F3> f1f3(data);
    ChartWindow<CPlotViewF1F2> f1f2(data);
    const QPoint centre = centreOf(mixedRows());
    const QRect before = redInk(f1f2.paint(), centre);
    ScopedModalRunner pick([](QDialog &dialog) {
        dialog.findChild<QComboBox *>()->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    f1f3.view->OnLButtonUp(centre);
    EXPECT_GT(redInk(f1f2.paint(), centre).width(), before.width());
}

TEST(LabelSelectorDialog, EmptyListChoosesAnEmptyLabelAndTheListIsBounded)
{
    CLabelSelectorDlg empty;
    empty.OnInitDialog();
    EXPECT_EQ(empty.m_nSelLabel, 0);
    EXPECT_TRUE(empty.m_strSelLabel.isEmpty());

    CLabelSelectorDlg full;
    for (int i = 0; i < CLabelSelectorDlg::kMaxLabels; ++i)
        ASSERT_TRUE(full.addLabel("x"));
    EXPECT_FALSE(full.addLabel("y"));
    EXPECT_EQ(full.m_nLabelCount, CLabelSelectorDlg::kMaxLabels);
}

} // namespace
