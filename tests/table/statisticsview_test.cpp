// Plot > Statistics: the group figures follow the table and the analysis options, copy as
// tab-separated text and save as CSV or TSV.

#include "analysis/frequencyscale.h"
#include "framework/filedialogs.h"
#include "plot/statisticsview.h"
#include "table/analysisdlg.h"
#include "tablesession.h"

#include <QApplication>
#include <QClipboard>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

QString cell(const StatisticsView &view, int row, int column)
{
    const QTableWidgetItem *item = view.table().item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TEST(StatisticsWindow, FollowsTheTableAndTheOptionsAndCopiesAndSaves)
{
    TableSession session;
    CTessavoxFormView *table = session.openCsv(vowelsCsv());
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_TRUE(table->execute(ID_PLOT_STATISTICS));
    const std::vector<StatisticsView *> views = windows<StatisticsView>(doc);
    ASSERT_EQ(views.size(), 1u);
    StatisticsView &view = *views.front();

    // Sorted rows: "a" (3 tokens), "i" (3), "u" (1); the mean of the "a" tokens' F1 in Bark.
    ASSERT_EQ(view.table().rowCount(), 3);
    EXPECT_EQ(view.table().columnCount(), 12);
    EXPECT_EQ(cell(view, 0, 0), "a");
    EXPECT_EQ(cell(view, 0, 1), "3");
    EXPECT_EQ(cell(view, 2, 1), "1");
    EXPECT_TRUE(cell(view, 2, 4).isEmpty()) << "one token has no SD";
    const double barkMean = cell(view, 0, 3).toDouble();
    EXPECT_DOUBLE_EQ(barkMean,
                     (HzToBarkZwicker(700) + HzToBarkZwicker(690) + HzToBarkZwicker(720)) / 3);

    // A typed value changes the figures at once.
    ASSERT_TRUE(type(table, 0, 0, 900));
    EXPECT_GT(cell(view, 0, 3).toDouble(), barkMean);

    // New analysis options: the same columns in Lobanov z.
    CAnalysisDlg dialog;
    AnalysisOptions options = doc->m_analysis;
    options.normalization = QStringLiteral("lobanov");
    dialog.setOptions(options);
    dialog.apply(*doc);
    EXPECT_LT(std::abs(cell(view, 0, 3).toDouble()), 3.0);
    EXPECT_TRUE(view.areaText().contains("s1: 3 vowels, hull area"))
        << view.areaText().toStdString();

    view.OnEditCopy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("group\tn\tmean_x\tmean_y")) << copied.toStdString();
    EXPECT_EQ(copied.count('\n'), 4);

    {
        ScopedFileDialogAnswer answer(session.files.path("stats.csv"));
        view.OnFileSaveStatistics();
    }
    const QByteArray csv = TestFiles::read(session.files.path("stats.csv"));
    EXPECT_TRUE(csv.startsWith("group,n,mean_x,mean_y,")) << csv.toStdString();
    EXPECT_EQ(csv.count('\n'), 4);
}
