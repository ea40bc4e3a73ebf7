// The Plot commands of the table window, with a stand-in chart template: the order check,
// reuse of an open chart window, greying, failures, and charts closing with their table.

#include "tablefixture.h"

#include "childframe.h"
#include "commandids.h"
#include "doctemplate.h"
#include "messages.h"
#include "plottemplates.h"
#include "qtprinters.h"
#include "stringtable.h"

#include <QCoreApplication>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

class FakeChartView : public View
{
public:
    bool keepsDocumentOpen() const override { return false; }
    void OnInitialUpdate() override { ++initialUpdates; }
    int initialUpdates = 0;
};

// Registers chart templates for F1 vs F2 and F1 vs F3 while it lives.
struct FakeCharts
{
    int templatesMade = 0;

    FakeCharts()
    {
        for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3}) {
            PlotTemplates::registerFactory(id, [this] {
                ++templatesMade;
                return std::make_unique<DocTemplate>(
                    IDR_TESSAVOXTYPE, nullptr, [] { return new ChildFrame; },
                    [] { return new FakeChartView; });
            });
        }
    }
    ~FakeCharts()
    {
        PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
        PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
    }
};

bool enabled(const CommandTarget &target, int id)
{
    CmdUI ui;
    return target.OnUpdateCmdUI(id, ui) && ui.enabled;
}

void closeAndSettle(ChildFrame *frame)
{
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const std::vector<Token> kTokens = {{310, 2020, 2960, "i"}, {710, 1100, 2540, "a"}};

TEST(PlotCommands, OpenOneChartWindowAndBringItBackOnTheSecondChoice)
{
    FakeCharts charts;
    MessageCapture capture;
    TableFixture t(kTokens);
    ASSERT_TRUE(t.view->OnCmdMsg(ID_PLOT_F1F2));
    QPointer<ChildFrame> first = t.view->m_pF1F2Frame;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    auto *chart = dynamic_cast<FakeChartView *>(first->activeView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->document(), t.doc.get());
    EXPECT_EQ(chart->initialUpdates, 1);

    t.view->OnPlotF1F2();
    EXPECT_EQ(t.view->m_pF1F2Frame, first);
    EXPECT_EQ(charts.templatesMade, 1);
    EXPECT_EQ(chart->initialUpdates, 1);

    t.view->OnPlotF1F3(); // the other chart has a window of its own
    EXPECT_TRUE(t.view->m_pF1F3Frame);
    EXPECT_NE(t.view->m_pF1F3Frame, first);
    EXPECT_TRUE(capture.events().isEmpty());

    closeAndSettle(first);
    EXPECT_FALSE(t.view->m_pF1F2Frame);
    t.view->OnPlotF1F2();
    EXPECT_TRUE(t.view->m_pF1F2Frame);
    EXPECT_EQ(charts.templatesMade, 3);
}

TEST(PlotCommands, RefuseATableWithoutOrderEvenWhileTheWindowIsOpen)
{
    FakeCharts charts;
    MessageCapture capture;
    TableFixture t(kTokens);
    t.view->OnPlotF1F2();
    for (int row = 0; row < 2; ++row)
        t.view->SetCellInt(row, 4, 0);
    t.view->OnPlotF1F2();
    t.view->OnPlotF1F3();
    EXPECT_EQ(capture.messages(),
              (QStringList{LoadString(IDS_ERR_NO_ORDER), LoadString(IDS_ERR_NO_ORDER)}));
    EXPECT_FALSE(t.view->m_pF1F3Frame);
    EXPECT_EQ(charts.templatesMade, 1);
}

TEST(PlotCommands, WithoutAChartTemplateBeepAndSayTheViewCouldNotBeMade)
{
    MessageCapture capture;
    TableFixture t(kTokens);
    t.view->OnPlotF1F2();
    EXPECT_EQ(capture.events(), (QStringList{MessageCapture::beepEvent,
                                             QStringLiteral("Could not create the plot view.")}));
    EXPECT_FALSE(t.view->m_pF1F2Frame);
}

TEST(PlotCommands, AreGreyedUntilTheDocumentHoldsDataAndPrimeIsNotThereYet)
{
    MessageCapture capture;
    TableFixture empty;
    for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3, ID_PLOT_F1F2PRIME, ID_EDIT_REMOVE_ROW})
        EXPECT_FALSE(enabled(*empty.view, id)) << id;
    EXPECT_FALSE(empty.view->HasOrder());
    ASSERT_TRUE(empty.view->OnCmdMsg(ID_EDIT_ADD_ROW));
    for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3, ID_PLOT_F1F2PRIME})
        EXPECT_TRUE(enabled(*empty.view, id)) << id;
    ASSERT_TRUE(empty.view->OnCmdMsg(ID_PLOT_F1F2PRIME));
    EXPECT_EQ(capture.messages(), QStringList{"This function is not implemented yet"});
}

TEST(PlotCommands, ClosingTheTableClosesTheChartsItOpenedAndOnlyThose)
{
    FakeCharts charts;
    TableFixture t(kTokens);
    auto second = std::make_unique<CTessavoxFormView>();
    t.doc->addView(second.get());
    second->OnInitialUpdate();

    t.view->OnPlotF1F2();
    t.view->OnPlotF1F3();
    second->OnPlotF1F2();
    QPointer<ChildFrame> f1f2 = t.view->m_pF1F2Frame;
    QPointer<ChildFrame> f1f3 = t.view->m_pF1F3Frame;
    QPointer<ChildFrame> other = second->m_pF1F2Frame;
    ASSERT_TRUE(other);
    EXPECT_NE(other, f1f2);

    t.view.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f1f2);
    EXPECT_FALSE(f1f3);
    EXPECT_TRUE(other);
    second.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(other);
}

} // namespace
