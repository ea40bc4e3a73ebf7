// The chart views: painting in the window's place, and which click squares answer.

#include "barkscale.h"
#include "faketable.h"
#include "groupmoments.h"
#include "modaldialogs.h"
#include "plotgeometry.h"
#include "plotviewf1f2.h"
#include "plotviewf1f3.h"

#include <QComboBox>
#include <QDialog>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Four tokens mixing "a" and "long" around the centre of an 800 x 600 chart's group.
std::vector<FakeRow> mixedRows(int order)
{
    return {{300, 1000, 1000, "a", order},
            {300, 2000, 2000, "long", order},
            {700, 1000, 1000, "a", order},
            {700, 2000, 2000, "a", order}};
}

QPoint mixedCentre()
{
    GroupMoments m;
    for (const FakeRow &row : mixedRows(0))
        m.add(HzToBark(row.f1), HzToBark(row.f2));
    int x = 0;
    int y = 0;
    PlotGeometry::compute({0, 0, 800, 600}, 1, 1).mapBark(m.m1(), m.m2(), x, y);
    return {x, y};
}

// A chart view on the document, 800 x 600 and painted once, so its squares are recorded.
template <class ViewClass> std::unique_ptr<ViewClass> paintedView(FakeDocument &data)
{
    auto view = std::make_unique<ViewClass>();
    data.doc->addView(view.get());
    view->resize(800, 600);
    QImage image = blankImage();
    QPainter painter(&image);
    view->OnDraw(painter);
    return view;
}

// A window paints through a painter redirected to its place in the top-level window; the
// axis texts, written on opaque boxes, must land there too.
TEST(PlotViewPaint, AxisTextsFollowTheWindowsPlace)
{
    FakeDocument data({{500, 1500, 0, "", 1}});
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    view.resize(800, 600);
    QImage image = blankImage(900, 700, Qt::gray);
    view.render(&image, QPoint(100, 50));
    // The F1 caption starts at x = 750 with its centre at y = 207.
    EXPECT_FALSE(inkBox(image, QRect(100 + 750, 50 + 197, 30, 20)).isEmpty());
}

TEST(LabelSelection, OnlyOrdersBelow100AnswerTheLowestFirstAndCancelKeepsAll)
{
    int runs = 0;
    const QPoint centre = mixedCentre();
    {
        // Order 120 has a square in the F1-F2 view, but it does not answer clicks; the
        // F1-F3 view keeps no square for it at all.
        FakeDocument high(mixedRows(120));
        auto f1f2 = paintedView<CPlotViewF1F2>(high);
        auto f1f3 = paintedView<CPlotViewF1F3>(high);
        EXPECT_FALSE(f1f2->labelHits()[120].isEmpty());
        EXPECT_TRUE(std::all_of(f1f3->labelHits().begin(), f1f3->labelHits().end(),
                                [](const QRect &r) { return r.isEmpty(); }));
        ScopedModalRunner count([&](QDialog &) { return ++runs, int(QDialog::Rejected); });
        f1f2->OnLButtonUp(centre);
        EXPECT_EQ(runs, 0);
    }

    // Orders 7 and 4 at the same place: the click serves order 4.
    std::vector<FakeRow> rows = mixedRows(7);
    for (const FakeRow &row : mixedRows(4))
        rows.push_back(row);
    FakeDocument both(rows);
    auto view = paintedView<CPlotViewF1F2>(both);
    {
        ScopedModalRunner cancel([](QDialog &) { return int(QDialog::Rejected); });
        view->OnLButtonUp(centre);
    }
    EXPECT_EQ(both.doc->m_nOrderLabel[4], -1);
    {
        ScopedModalRunner ok([](QDialog &) { return int(QDialog::Accepted); });
        view->OnLButtonUp(centre);
    }
    EXPECT_EQ(both.doc->m_nOrderLabel[4], 0);
    EXPECT_EQ(both.doc->m_strOrderLabel[4], "a");
    EXPECT_EQ(both.doc->m_nOrderLabel[7], -1);
}

} // namespace
