// Options > Analysis...: the dialog's choices reach the document and every chart of it
// repaints with them; Cancel changes nothing.

#include "framework/modaldialogs.h"
#include "plot/plotview.h"
#include "table/analysisdlg.h"
#include "tablesession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>

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

void choose(QDialog &dialog, const char *combo, const QString &value)
{
    auto *box = dialog.findChild<QComboBox *>(combo);
    ASSERT_TRUE(box) << combo;
    const int index = box->findData(value);
    ASSERT_GE(index, 0) << value.toStdString();
    box->setCurrentIndex(index);
}

} // namespace

TEST(AnalysisDialog, OkRepaintsEveryChartOfTheDocumentAndCancelKeepsTheOptions)
{
    TableSession session;
    CTessavoxFormView *table = session.openTable(kVowels);
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_TRUE(table->execute(ID_PLOT_F1F2));
    ASSERT_TRUE(table->execute(ID_PLOT_F1F3));
    const std::vector<PlotView *> charts = windows<PlotView>(doc);
    ASSERT_EQ(charts.size(), 2u);
    for (PlotView *chart : charts)
        EXPECT_FALSE(hasColour(chart->grab().toImage()));

    // Cancel: nothing changes.
    {
        ScopedModalRunner cancel([](QDialog &dialog) {
            choose(dialog, "IDC_NORMALIZATION", "lobanov");
            return int(QDialog::Rejected);
        });
        EXPECT_TRUE(table->execute(ID_OPTIONS_ANALYSIS));
    }
    EXPECT_TRUE(doc->m_analysis.isClassic());

    // OK from a chart window: the choices are the document's, every chart shows them.
    {
        ScopedModalRunner ok([](QDialog &dialog) {
            // The scale has no say once a normalisation is chosen.
            auto *scale = dialog.findChild<QComboBox *>("IDC_SCALE");
            EXPECT_TRUE(scale->isEnabled());
            choose(dialog, "IDC_NORMALIZATION", "lobanov");
            EXPECT_FALSE(scale->isEnabled());
            choose(dialog, "IDC_ELLIPSE", "coverage95");
            auto *colour = dialog.findChild<QComboBox *>("IDC_COLOR_BY");
            colour->setCurrentIndex(colour->findData(int(AnalysisOptions::ColorBy::Vowel)));
            dialog.findChild<QCheckBox *>("IDC_FIT")->setChecked(true);
            dialog.findChild<QCheckBox *>("IDC_SHOW_TOKENS")->setChecked(false);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(charts.front()->execute(ID_OPTIONS_ANALYSIS));
    }
    const AnalysisOptions &o = doc->m_analysis;
    EXPECT_EQ(o.normalization, QStringLiteral("lobanov"));
    EXPECT_EQ(o.ellipse, QStringLiteral("coverage95"));
    EXPECT_EQ(o.colorBy, AnalysisOptions::ColorBy::Vowel);
    EXPECT_TRUE(o.fit);
    EXPECT_FALSE(o.showTokens);
    EXPECT_FALSE(doc->isModified());
    for (PlotView *chart : charts)
        EXPECT_TRUE(hasColour(chart->grab().toImage()));

    // The dialog shows what it was given.
    CAnalysisDlg dialog;
    dialog.setOptions(o);
    const AnalysisOptions shown = dialog.options();
    EXPECT_EQ(shown.normalization, o.normalization);
    EXPECT_EQ(shown.ellipse, o.ellipse);
    EXPECT_EQ(shown.colorBy, o.colorBy);
    EXPECT_EQ(shown.fit, o.fit);
}

// A table's own columns beside the vowel, speaker and formants are offered to colour by;
// the one chosen colours the charts and is shown chosen next time.
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
            auto *colour = dialog.findChild<QComboBox *>("IDC_COLOR_BY");
            for (int i = 0; i < colour->count(); ++i)
                offered << colour->itemText(i);
            colour->setCurrentIndex(colour->findText(QStringLiteral("column dialect")));
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(table->execute(ID_OPTIONS_ANALYSIS));
    }
    EXPECT_EQ(offered.filter(QStringLiteral("column ")),
              QStringList({QStringLiteral("column dialect"), QStringLiteral("column age")}));
    EXPECT_EQ(doc->m_analysis.colorBy, AnalysisOptions::ColorBy::Column);
    EXPECT_EQ(doc->m_analysis.colorColumn, QStringLiteral("dialect"));
    EXPECT_TRUE(hasColour(windows<PlotView>(doc).front()->grab().toImage()));

    CAnalysisDlg again;
    again.setOptions(doc->m_analysis, doc->otherTableColumns());
    EXPECT_EQ(again.findChild<QComboBox *>("IDC_COLOR_BY")->currentText(), "column dialect");
    EXPECT_EQ(again.options().colorColumn, QStringLiteral("dialect"));
}
