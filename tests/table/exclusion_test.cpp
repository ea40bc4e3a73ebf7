// Exclude Rows, Include Rows and Select Outliers in the table window: the marks saved in a
// table's exclude column and read back, taken back by Undo, asked about before a Formant
// file drops them, and the stray token of a vowel found and marked.

#include "tablesession.h"

#include "framework/modaldialogs.h"
#include "plot/analysischart.h"

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>

#include <gtest/gtest.h>

namespace {

bool enabled(CTessavoxFormView *table, int id)
{
    CommandState ui;
    table->updateState(id, ui);
    return ui.enabled;
}

std::vector<bool> excludedRows(const CTessavoxDoc &doc)
{
    std::vector<bool> excluded;
    for (int row = 0; row < doc.tokens().count(); ++row)
        excluded.push_back(doc.tokens().row(row).excluded);
    return excluded;
}

// Sorted by vowel the rows stand a, a, i, i, i: file rows 2, 4, 1, 3, 5.
const QByteArray kCsv = "speaker,vowel,F1,F2\nm1,i,300,2300\nm1,a,700,1200\nm1,i,320,2200\n"
                        "m1,a,720,1150\nm1,i,310,2400\n";

TEST(Exclusion, MarksAreSavedInTheTableReadBackAndUndone)
{
    TableSession s;
    CTessavoxFormView *table = s.openCsv(kCsv);
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    EXPECT_FALSE(enabled(table, ID_EDIT_INCLUDE_ROWS));
    // The rows of the selected cells, when no row is marked.
    table->grid().selectBlock(2, 0, 3, 1, true);
    ASSERT_TRUE(enabled(table, ID_EDIT_EXCLUDE_ROWS));
    table->execute(ID_EDIT_EXCLUDE_ROWS);
    EXPECT_EQ(excludedRows(*doc), (std::vector<bool>{false, false, true, true, false}));
    EXPECT_FALSE(enabled(table, ID_EDIT_EXCLUDE_ROWS));
    EXPECT_TRUE(doc->isModified());
    // Greyed in the table, gone from the figures.
    EXPECT_TRUE(doc->tokens().data(doc->tokens().index(2, 3), Qt::ForegroundRole).isValid());
    EXPECT_EQ(buildAnalysisChart(*doc, TokenTableModel::F2).statistics.groups[1].n, 1);

    ASSERT_TRUE(doc->save());
    EXPECT_EQ(TestFiles::read(doc->pathName()),
              "speaker,vowel,F1,F2,exclude\nm1,i,300,2300,1\nm1,a,700,1200,0\nm1,i,320,2200,1\n"
              "m1,a,720,1150,0\nm1,i,310,2400,0\n");

    doc->OnEditUndo();
    EXPECT_EQ(excludedRows(*doc), std::vector<bool>(5, false));
    EXPECT_TRUE(doc->isModified());
    doc->OnEditRedo();
    EXPECT_FALSE(doc->isModified());
    // Include Rows on a marked row takes it back; the column keeps the file's own marks.
    table->grid().setRowSelected(2, true);
    table->execute(ID_EDIT_INCLUDE_ROWS);
    EXPECT_EQ(excludedRows(*doc), (std::vector<bool>{false, false, false, true, false}));
    ASSERT_TRUE(doc->save());

    TableSession again;
    QByteArray saved = TestFiles::read(doc->pathName());
    EXPECT_TRUE(saved.contains("m1,i,300,2300,0\n")) << saved.toStdString();
    CTessavoxFormView *reopened = again.openCsv(saved.replace(",0\n", ",no\n"), "again.csv");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(excludedRows(*reopened->GetDocument()),
              (std::vector<bool>{false, false, false, true, false}));
}

TEST(Exclusion, AFormantFileAsksBeforeDroppingTheMarks)
{
    TableSession s;
    CTessavoxFormView *table = s.openTable(kVowels);
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    const std::vector<Row> before = fileRows(s.path);
    ASSERT_EQ(doc->setRowsExcluded(std::vector<int>{0, 6, 7, -1}, true), 2);
    s.capture.setAnswer(Messages::Answer::Cancel);
    EXPECT_FALSE(doc->save());
    ASSERT_EQ(s.capture.messages().size(), 1);
    EXPECT_TRUE(s.capture.lastMessage().contains("the marks of the 2 excluded row(s)"));
    EXPECT_TRUE(doc->isModified());
    // Saved anyway: every row is in the file, excluded or not.
    s.capture.setAnswer(Messages::Answer::Yes);
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(fileRows(s.path).size(), before.size());
}

TEST(Exclusion, SelectOutliersMarksTheStrayTokenOnly)
{
    TableSession s;
    QByteArray csv = "vowel,F1,F2\n";
    const int f1[] = {300, 310, 305, 295, 315, 290, 308, 302, 298, 600};
    const int f2[] = {2300, 2250, 2350, 2280, 2320, 2260, 2330, 2270, 2310, 1500};
    for (int i = 0; i < 10; ++i)
        csv += "i," + QByteArray::number(f1[i]) + ',' + QByteArray::number(f2[i]) + '\n';
    csv += "a,700,1200\na,720,1150\n";
    CTessavoxFormView *table = s.openCsv(csv);
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    table->grid().setRowSelected(0, true);
    table->execute(ID_EDIT_SELECT_OUTLIERS);
    std::vector<int> marked;
    for (int row = table->grid().nextSelected(-1); row >= 0; row = table->grid().nextSelected(row))
        marked.push_back(row);
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(doc->tokens().number(marked[0], TokenTableModel::F1), 600);
    EXPECT_TRUE(table->statusText().startsWith("1 outlier(s) at level 0.95 on F1,F2"))
        << table->statusText().toStdString();
    // At the level chosen in the Analysis options: ten tokens cannot lie beyond 9.21, the
    // quantile at 0.99, however far one strays.
    {
        ScopedModalRunner ok([](QDialog &dialog) {
            auto *mark = dialog.findChild<QCheckBox *>("IDC_MARK_OUTLIERS");
            auto *level = dialog.findChild<QDoubleSpinBox *>("IDC_OUTLIER_LEVEL");
            EXPECT_FALSE(mark->isChecked());
            EXPECT_FALSE(level->isEnabled());
            mark->setChecked(true);
            level->setValue(0.99);
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(table->execute(ID_OPTIONS_ANALYSIS));
    }
    EXPECT_DOUBLE_EQ(doc->m_analysis.outlierLevel, 0.99);
    table->execute(ID_EDIT_SELECT_OUTLIERS);
    EXPECT_EQ(table->grid().nextSelected(-1), -1);
    EXPECT_TRUE(table->statusText().startsWith("0 outlier(s) at level 0.99"));
    doc->m_analysis.outlierLevel = 0.0;
    table->execute(ID_EDIT_SELECT_OUTLIERS);

    // Excluded, it is no outlier any more: nothing is marked.
    table->execute(ID_EDIT_EXCLUDE_ROWS);
    table->execute(ID_EDIT_SELECT_OUTLIERS);
    EXPECT_EQ(table->grid().nextSelected(-1), -1);
    EXPECT_TRUE(table->statusText().startsWith("0 outlier(s)"));
}

} // namespace
