// Undo and Redo over a table file's rows: what comes back carries its speaker and the cells
// the file kept for it, and the modified flag follows the saved point through saves.
// The randomized editing test drives every edit command of the windows through Undo and
// Redo; these cases cover what it cannot: tables, and the limit on steps.

#include "document/tessavoxdoc.h"

#include "testfiles.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kTable = "speaker,vowel,F1,F2,F3,note\n"
                          "s1,i,300,2300,2900,first\n"
                          "s1,a,700.5,1200,2500,second\n"
                          "s2,u,320,800,2300,third\n";

struct OpenedTable
{
    TestFiles files;
    QString path = files.write("vowels.csv", kTable);
    CTessavoxDoc doc;
    QObject table; // stands for the table window

    OpenedTable()
    {
        EXPECT_TRUE(doc.OnOpenDocument(path));
        doc.setPathName(path, false);
        doc.attachTable(&table);
    }
    TokenTableModel &tokens() { return doc.tokens(); }
    int rowOf(const QString &symbol)
    {
        for (int row = 0; row < tokens().count(); ++row) {
            if (tokens().symbol(row) == symbol)
                return row;
        }
        return -1;
    }
    QByteArray saved()
    {
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return TestFiles::read(path);
    }
};

TEST(EditHistory, RowsComeBackWithTheirSpeakersAndCellsAndModifiedFollowsTheSavedPoint)
{
    OpenedTable t;
    EXPECT_FALSE(t.doc.canUndo());
    {
        const CTessavoxDoc::EditStep step(&t.doc);
        t.tokens().removeRowAt(t.rowOf("a"));
    }
    EXPECT_TRUE(t.doc.isModified());
    t.doc.OnEditUndo();
    EXPECT_FALSE(t.doc.isModified());
    EXPECT_EQ(t.tokens().row(t.rowOf("a")).speaker, QStringLiteral("s1"));
    // The row is the file's own again: note and decimals included, in its place.
    EXPECT_EQ(t.saved(), kTable);

    t.doc.OnEditRedo();
    EXPECT_TRUE(t.doc.isModified());
    EXPECT_FALSE(t.saved().contains("second"));
    // The new file has no cells for the removed row, so Undo stops at the save rather
    // than bring it back without them.
    EXPECT_FALSE(t.doc.canUndo());

    const QByteArray twoRows = TestFiles::read(t.path);
    t.tokens().setNumber(t.rowOf("i"), TokenTableModel::F1, 310);
    EXPECT_TRUE(t.doc.isModified());
    EXPECT_TRUE(t.saved().contains("s1,i,310,2300,2900,first"));
    t.doc.OnEditUndo();
    EXPECT_TRUE(t.doc.isModified()) << "the file holds 310";
    EXPECT_EQ(t.saved(), twoRows);
    t.doc.OnEditRedo();
    EXPECT_TRUE(t.doc.isModified());

    // Sorting, numbering and label choices undo too, but never need saving.
    EXPECT_TRUE(t.saved().contains("310"));
    t.doc.chooseOrderLabel(1, 0, QStringLiteral("i"));
    {
        const CTessavoxDoc::EditStep step(&t.doc, false);
        t.tokens().sortByColumn(TokenTableModel::F2); // u before i
    }
    EXPECT_FALSE(t.doc.isModified());
    t.doc.OnEditUndo();
    t.doc.OnEditUndo();
    EXPECT_EQ(t.doc.m_nOrderLabel[1], -1);
    EXPECT_FALSE(t.doc.isModified());
    t.doc.OnEditUndo(); // back past the save: the file holds 310, the table 300
    EXPECT_TRUE(t.doc.isModified());
    // A typed speaker is a step like any typed cell.
    t.tokens().setData(t.tokens().index(t.rowOf("u"), TokenTableModel::Speaker), "s3");
    t.doc.OnEditUndo();
    EXPECT_EQ(t.tokens().row(t.rowOf("u")).speaker, QStringLiteral("s2"));
}

TEST(EditHistory, KeepsTheLastHundredStepsAndANewStepEndsRedo)
{
    OpenedTable t;
    const int row = t.rowOf("u");
    for (int value = 1; value <= 120; ++value)
        t.tokens().setNumber(row, TokenTableModel::F3, value);
    int undone = 0;
    while (t.doc.canUndo()) {
        t.doc.OnEditUndo();
        ++undone;
    }
    EXPECT_EQ(undone, int(EditHistory::kMaxSteps));
    EXPECT_EQ(t.tokens().number(row, TokenTableModel::F3), 20);
    EXPECT_TRUE(t.doc.isModified()) << "the saved state is out of reach";

    t.doc.OnEditRedo();
    t.tokens().setNumber(row, TokenTableModel::F3, 2300);
    EXPECT_FALSE(t.doc.canRedo());
    t.doc.OnEditUndo();
    EXPECT_EQ(t.tokens().number(row, TokenTableModel::F3), 21);
}

} // namespace
