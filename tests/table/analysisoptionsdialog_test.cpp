// Options > Analysis... and Plot > Statistics: the dialog's choices reach the document, and
// every chart and the statistics window of it follow them and the table; Cancel changes
// nothing; the figures copy as tab-separated text and save as CSV.

#include "analysis/frequencyscale.h"
#include "framework/filedialogs.h"
#include "framework/modaldialogs.h"
#include "plot/plotview.h"
#include "plot/statisticsview.h"
#include "table/analysisoptionsdialog.h"
#include "tablesession.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLayout>
#include <QRegularExpression>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

bool hasColour(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) -
                    std::min({c.red(), c.green(), c.blue()}) >
                80)
                return true;
        }
    return false;
}

// Picks the entry of `value`, by its data or else by its text.
QComboBox *choose(QDialog &dialog, const char *combo, const QVariant &value)
{
    auto *box = dialog.findChild<QComboBox *>(combo);
    EXPECT_TRUE(box) << combo;
    const int index = box ? std::max(box->findData(value), box->findText(value.toString())) : -1;
    EXPECT_GE(index, 0) << combo;
    if (index >= 0)
        box->setCurrentIndex(index);
    return box;
}

QString cell(const StatisticsView &view, int row, int column)
{
    const QTableWidgetItem *item = view.table().item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TEST(AnalysisDialog, OkReachesEveryChartAndTheStatisticsAndCancelKeepsTheOptions)
{
    TableSession session;
    CTessavoxFormView *table = session.openCsv(vowelsCsv());
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3, ID_PLOT_STATISTICS})
        ASSERT_TRUE(table->execute(id));
    const std::vector<PlotView *> charts = windows<PlotView>(doc);
    ASSERT_EQ(charts.size(), 2u);
    for (PlotView *chart : charts)
        EXPECT_FALSE(hasColour(chart->grab().toImage()));
    ASSERT_EQ(windows<StatisticsView>(doc).size(), 1u);
    StatisticsView &view = *windows<StatisticsView>(doc).front();

    // Sorted rows: "a" (3 tokens), "i" (3), "u" (1); the mean of the "a" tokens' F1 in Bark.
    ASSERT_EQ(view.table().rowCount(), 3);
    EXPECT_EQ(view.table().columnCount(), 12);
    EXPECT_EQ(QStringList({cell(view, 0, 0), cell(view, 0, 1), cell(view, 2, 1)}),
              QStringList({"a", "3", "1"}));
    EXPECT_TRUE(cell(view, 2, 4).isEmpty()) << "one token has no SD";
    // Four significant digits on screen, the whole figure at hand.
    EXPECT_EQ(cell(view, 0, 3), "6.412");
    const double barkMean = view.table().item(0, 3)->toolTip().toDouble();
    EXPECT_DOUBLE_EQ(barkMean,
                     (HzToBarkZwicker(700) + HzToBarkZwicker(690) + HzToBarkZwicker(720)) / 3);
    EXPECT_EQ(view.table().horizontalHeaderItem(2)->text(), "mean F2 (Bark)");
    EXPECT_EQ(view.table().horizontalHeaderItem(3)->text(), "mean F1 (Bark)");
    // A typed value changes the figures at once.
    ASSERT_TRUE(type(table, 0, 0, 900));
    EXPECT_GT(view.table().item(0, 3)->toolTip().toDouble(), barkMean);
    doc->setModifiedFlag(false); // the options below must leave it so

    {
        ScopedModalRunner cancel([](QDialog &dialog) {
            choose(dialog, "IDC_NORMALIZATION", "lobanov");
            return int(QDialog::Rejected);
        });
        EXPECT_TRUE(table->execute(ID_OPTIONS_ANALYSIS));
    }
    EXPECT_TRUE(doc->m_analysis.isClassic());

    // OK from a chart window: the choices are the document's, every window shows them.
    {
        ScopedModalRunner ok([](QDialog &dialog) {
            // The scale has no say once a normalisation is chosen.
            auto *scale = dialog.findChild<QComboBox *>("IDC_SCALE");
            EXPECT_TRUE(scale->isEnabled());
            choose(dialog, "IDC_NORMALIZATION", "lobanov");
            EXPECT_FALSE(scale->isEnabled());
            choose(dialog, "IDC_ELLIPSE", "coverage95");
            choose(dialog, "IDC_COLOR_BY", int(AnalysisOptions::ColorBy::Vowel));
            dialog.findChild<QCheckBox *>("IDC_FIT")->setChecked(true);
            dialog.findChild<QCheckBox *>("IDC_SHOW_TOKENS")->setChecked(false);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(charts.front()->execute(ID_OPTIONS_ANALYSIS));
    }
    const AnalysisOptions &o = doc->m_analysis;
    EXPECT_EQ(std::tuple(o.normalization, o.ellipse, o.colorBy, o.fit, o.showTokens),
              std::tuple(QStringLiteral("lobanov"), QStringLiteral("coverage95"),
                         AnalysisOptions::ColorBy::Vowel, true, false));
    EXPECT_FALSE(doc->isModified());
    for (PlotView *chart : charts)
        EXPECT_TRUE(hasColour(chart->grab().toImage()));
    // The statistics show the same columns in Lobanov z.
    EXPECT_LT(std::abs(cell(view, 0, 3).toDouble()), 3.0);
    EXPECT_TRUE(view.areaText().contains("s1: 3 vowels, hull area"))
        << view.areaText().toStdString();
    EXPECT_TRUE(view.areaText().contains("(F2 x F1, Lobanov z²):"))
        << view.areaText().toStdString();

    // Copy and Save: what the figures are in, the figures at full precision, the areas.
    view.OnEditCopy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("# scale: none; normalisation: lobanov; ellipse: coverage95\n"
                                  "group\tn\tmean F2 (Lobanov z)\tmean F1 (Lobanov z)\t"))
        << copied.toStdString();
    const QStringList lines = copied.split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_GE(lines[2].split('\t')[2].size(), 12) << lines[2].toStdString();
    EXPECT_TRUE(lines.contains("speaker\tvowels\thull area (Lobanov z²)")) << copied.toStdString();
    EXPECT_TRUE(copied.contains(QRegularExpression("\ns1\t3\t[0-9.]+\n"))) << copied.toStdString();
    {
        ScopedFileDialogAnswer answer(session.files.path("stats.csv"));
        view.OnFileSaveStatistics();
    }
    const QByteArray csv = TestFiles::read(session.files.path("stats.csv"));
    EXPECT_TRUE(csv.startsWith("# scale: none; normalisation: lobanov; ellipse: coverage95\n"
                               "group,n,mean F2 (Lobanov z),"))
        << csv.toStdString();
    EXPECT_EQ(csv.count('\n'), copied.count('\n'));

    // The table takes the window; the notes below it keep to a few lines.
    view.resize(900, 700);
    view.layout()->activate();
    EXPECT_GT(view.table().height(), 700 / 2);
}

// A table's own columns beside the vowel, speaker and formants are offered to colour by;
// the one chosen colours the charts and is shown chosen next time, with the other options.
TEST(AnalysisDialog, OffersTheTablesOtherColumnsToColourBy)
{
    TableSession session;
    CTessavoxFormView *table = session.openCsv("speaker,vowel,F1,F2,dialect,age\n"
                                               "s1,i,300,2300,north,20\ns1,i,310,2250,south,30\n"
                                               "s2,i,290,2350,south,40\ns2,a,700,1200,north,50\n"
                                               "s1,a,720,1250,south,20\ns2,a,690,1150,north,40\n");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_TRUE(table->execute(ID_PLOT_F1F2));
    QStringList offered;
    {
        ScopedModalRunner ok([&offered](QDialog &dialog) {
            auto *colour = choose(dialog, "IDC_COLOR_BY", "column dialect");
            for (int i = 0; i < colour->count(); ++i)
                offered << colour->itemText(i);
            choose(dialog, "IDC_NORMALIZATION", "lobanov");
            choose(dialog, "IDC_ELLIPSE", "coverage95");
            dialog.findChild<QCheckBox *>("IDC_FIT")->setChecked(true);
            dialog.findChild<QCheckBox *>("IDC_EQUAL_ASPECT")->setChecked(true);
            choose(dialog, "IDC_TOKEN_MARKS", int(AnalysisOptions::TokenMarks::Dots));
            choose(dialog, "IDC_FACET", "age");
            choose(dialog, "IDC_TRAJECTORIES", 2);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(table->execute(ID_OPTIONS_ANALYSIS));
    }
    // Panels by the age column, equal units, dots, trajectories of means and tokens.
    const AnalysisOptions &chosen = doc->m_analysis;
    EXPECT_EQ(
        std::tuple(chosen.facetColumn, chosen.equalAspect, chosen.tokenMarks, chosen.trajectories,
                   chosen.tokenTrajectories),
        std::tuple(QStringLiteral("age"), true, AnalysisOptions::TokenMarks::Dots, true, true));
    EXPECT_FALSE(chosen.isClassic());
    EXPECT_EQ(offered.filter(QStringLiteral("column ")),
              QStringList({QStringLiteral("column dialect"), QStringLiteral("column age")}));
    EXPECT_EQ(doc->m_analysis.colorBy, AnalysisOptions::ColorBy::Column);
    EXPECT_EQ(doc->m_analysis.colorColumn, QStringLiteral("dialect"));
    EXPECT_TRUE(hasColour(windows<PlotView>(doc).front()->grab().toImage()));

    AnalysisOptionsDialog again;
    again.setOptions(doc->m_analysis, doc->otherTableColumns());
    EXPECT_EQ(again.findChild<QComboBox *>("IDC_COLOR_BY")->currentText(), "column dialect");
    const AnalysisOptions shown = again.options();
    EXPECT_EQ(
        std::tuple(shown.colorBy, shown.colorColumn, shown.normalization, shown.ellipse, shown.fit),
        std::tuple(AnalysisOptions::ColorBy::Column, QStringLiteral("dialect"),
                   QStringLiteral("lobanov"), QStringLiteral("coverage95"), true));
    EXPECT_EQ(
        std::tuple(shown.facetColumn, shown.equalAspect, shown.tokenMarks, shown.tokenTrajectories),
        std::tuple(QStringLiteral("age"), true, AnalysisOptions::TokenMarks::Dots, true));

    // Export Chart offers the same columns to draw panels by; the choice holds for that
    // picture only, the window keeps its own.
    QStringList facets;
    {
        ScopedFileDialogAnswer answer(session.files.path("panels.png"));
        ScopedModalRunner panels([&facets](QDialog &dialog) {
            auto *facet = choose(dialog, "IDC_EXPORT_FACET", "dialect");
            for (int i = 0; i < facet->count(); ++i)
                facets << facet->itemText(i);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(windows<PlotView>(doc).front()->execute(ID_FILE_EXPORT_CHART));
    }
    EXPECT_TRUE(facets.contains("speaker") && facets.contains("age"))
        << facets.join(',').toStdString();
    EXPECT_FALSE(QImage(session.files.path("panels.png")).isNull());
    EXPECT_EQ(doc->m_analysis.facetColumn, QStringLiteral("age"));
}
