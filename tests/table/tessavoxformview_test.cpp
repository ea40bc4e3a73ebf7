// The table view filled from a document: the accessors, the Edit commands with their
// selection cases and the modified flag, the sort and the vowel numbers.

#include "tablefixture.h"

#include "commandids.h"
#include "commandtarget.h"
#include "griderror.h"
#include "messages.h"
#include "qtprinters.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

namespace {

using Ints = std::vector<int>;

const QString kRemoveRow = QStringLiteral("Cannot remove row.");

std::vector<Token> numberedTokens(int count)
{
    std::vector<Token> tokens;
    for (int i = 0; i < count; ++i)
        tokens.push_back({100 + i, 1000 + i, 2000 + i, QByteArray(1, char('a' + i))});
    return tokens;
}

bool enabled(const CommandTarget &target, int id)
{
    CmdUI ui;
    return target.OnUpdateCmdUI(id, ui) && ui.enabled;
}

TEST(TableFill, SortsBySymbolNumbersTheVowelsAndSelectsNothing)
{
    TableFixture t({{310, 2020, 2960, "i"},
                    {710, 1100, 2540, "a"},
                    {320, 2100, 0, "i"},
                    {300, 870, 2240, "u"}});
    EXPECT_EQ(t.symbols(), (QStringList{"a", "i", "i", "u"}));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 2, 3}));
    EXPECT_EQ(t.column(0), (Ints{710, 310, 320, 300}));
    EXPECT_EQ(t.column(2), (Ints{2540, 2960, 0, 2240}));
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    EXPECT_FALSE(t.doc->isModified());
    EXPECT_TRUE(t.view->HasOrder());
}

TEST(TableFill, ShowsOutOfRangeFormantsAsZeroAndKeepsUtf8Labels)
{
    TableFixture t({{10001, -5, 10000, "ɛː"}, {500, 1500, 2500, ""}});
    EXPECT_EQ(t.symbols(), (QStringList{"", QStringLiteral("ɛː")}));
    EXPECT_EQ(t.view->GetCellInt(1, 0), 0);
    EXPECT_EQ(t.view->GetCellInt(1, 1), 0);
    EXPECT_EQ(t.view->GetCellInt(1, 2), 10000);
    EXPECT_EQ(t.column(4), (Ints{1, 2})); // the empty symbol is a group of its own
}

TEST(TableAccessors, ClampWritesAndReadEmptyOutsideTheRows)
{
    TableFixture t({{310, 2020, 2960, "i"}});
    EXPECT_EQ(t.view->GetCellInt(-1, 0), 0);
    EXPECT_EQ(t.view->GetCellInt(0, -1), 0);
    EXPECT_THROW(t.view->GetCellInt(1, 0), GridError);
    EXPECT_EQ(t.view->GetCellText(1, 3), QString());
    EXPECT_EQ(t.view->GetCellText(-1, 3), QString());

    t.view->SetCellInt(0, 0, -1);
    EXPECT_EQ(t.view->GetCellInt(0, 0), 0);
    t.view->SetCellInt(0, 1, 10001);
    EXPECT_EQ(t.view->GetCellInt(0, 1), 0);
    t.view->SetCellInt(0, 2, 10000);
    EXPECT_EQ(t.view->GetCellInt(0, 2), 10000);

    t.view->SetCellText(0, 3, QStringLiteral("eɪx"), 2);
    EXPECT_EQ(t.view->GetCellText(0, 3), QStringLiteral("eɪ"));
    t.view->SetCellText(0, 3, QStringLiteral("o"), -1);
    EXPECT_EQ(t.view->GetCellText(0, 3), QStringLiteral("eɪ"));
    t.view->SetCellText(0, 3, QStringLiteral("o"), 0);
    EXPECT_EQ(t.view->GetCellText(0, 3), QString());
}

TEST(TableCopyPaste, CopiesTheSpanOfMarkedRowsAndPastesIntoNewRowsAtTheTarget)
{
    TableFixture t(numberedTokens(12));
    t.grid().setRowSelected(2, true);
    t.grid().setRowSelected(5, true);
    t.view->OnEditCopy();
    EXPECT_EQ(t.view->m_nCopyFirstRow, 2);
    EXPECT_EQ(t.view->m_nCopyLastRow, 5);
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("102\t1002\t2002\tc\t3"));
    EXPECT_EQ(lines[3], QStringLiteral("105\t1005\t2005\tf\t6"));
    EXPECT_FALSE(t.doc->isModified());

    t.grid().setRowSelected(9, true);
    t.view->OnEditPaste();
    EXPECT_EQ(t.doc->m_nTokenCount, 16);
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102, 103, 104, 105, 106, 107, 108, 102, 103, 104, 105,
                                 109, 110, 111}));
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    EXPECT_TRUE(t.doc->isModified());

    // The recorded block stays: with no row marked the active row is the target.
    t.grid().setActiveRow(0);
    t.view->OnEditPaste();
    EXPECT_EQ(t.doc->m_nTokenCount, 20);
    EXPECT_EQ(t.view->GetCellInt(4, 0), 100);
    EXPECT_EQ(t.view->GetCellText(0, 3), QStringLiteral("c"));
}

TEST(TableCopyPaste, WithoutMarkedRowsCopyRecordsNoBlockAndPasteOverwrites)
{
    TableFixture t(numberedTokens(4));
    t.grid().selectBlock(0, 0, 0, 1, true);
    t.view->OnEditCopy();
    EXPECT_EQ(t.view->m_nCopyFirstRow, -1);
    EXPECT_EQ(t.view->m_nCopyLastRow, -1);
    t.grid().setActiveRow(3);
    t.view->OnEditPaste();
    EXPECT_EQ(t.doc->m_nTokenCount, 4);
    EXPECT_EQ(t.view->GetCellInt(3, 0), 100);
    EXPECT_EQ(t.view->GetCellInt(3, 1), 1000);
    EXPECT_EQ(t.view->GetCellInt(3, 2), 2003);
}

TEST(TableCopyPaste, ARefusedPasteLeavesNoBlankRowsBehind)
{
    TableFixture t(numberedTokens(3));
    t.grid().setRowSelected(0, true);
    t.view->OnEditCopy();
    QApplication::clipboard()->setText(QStringLiteral("abc\t1\n"));
    t.grid().setActiveRow(1);
    EXPECT_THROW(t.view->OnEditPaste(), GridError);
    EXPECT_EQ(t.grid().rowCount(), 3);
    EXPECT_EQ(t.doc->m_nTokenCount, 3);
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102}));

    // From the menu the refusal is a message, and nothing has changed. A minus sign is
    // refused like any other non-digit: the file could not keep it.
    MessageCapture capture;
    QApplication::clipboard()->setText(QStringLiteral("-300\t1500\n"));
    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_PASTE));
    EXPECT_EQ(capture.messages(), QStringList({"Cannot paste \"-300\" into the F1 column: it "
                                               "takes whole numbers only."}));
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableCut, EmptiesTheCellsKeepsTheRowsAndMarksTheDocument)
{
    TableFixture t(numberedTokens(3));
    t.view->m_nCopyFirstRow = 1;
    t.view->m_nCopyLastRow = 1;
    t.grid().selectBlock(1, 0, 1, 4, true);
    t.view->OnEditCut();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("101\t1001\t2001\tb\t2\n"));
    EXPECT_EQ(t.doc->m_nTokenCount, 3);
    EXPECT_EQ(t.view->GetCellText(1, 3), QString());
    EXPECT_EQ(t.view->GetCellInt(1, 0), 0);
    EXPECT_EQ(t.view->m_nCopyFirstRow, 1);
    EXPECT_TRUE(t.doc->isModified());
}

TEST(TableRows, AddRowGoesBeforeTheFirstMarkedRowOrAtTheEnd)
{
    TableFixture t(numberedTokens(8));
    t.grid().setRowSelected(3, true);
    t.grid().setRowSelected(7, true);
    t.view->OnEditAddRow();
    EXPECT_EQ(t.doc->m_nTokenCount, 9);
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102, 0, 103, 104, 105, 106, 107}));
    EXPECT_EQ(t.view->GetCellText(3, 3), QString());
    EXPECT_TRUE(t.doc->isModified());
}

TEST(TableRows, RemoveRowTakesEveryMarkedRowAndRefusesAnEmptyTable)
{
    MessageCapture capture;
    TableFixture t(numberedTokens(5));
    t.view->OnEditRemoveRow(); // nothing marked: nothing goes, yet the document is marked
    EXPECT_EQ(t.doc->m_nTokenCount, 5);
    EXPECT_TRUE(t.doc->isModified());

    t.grid().setRowSelected(1, true);
    t.grid().setRowSelected(3, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.column(0), (Ints{100, 102, 104}));

    t.grid().selectRange(0, 2, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.doc->m_nTokenCount, 0);
    EXPECT_FALSE(enabled(*t.view, ID_EDIT_REMOVE_ROW));
    EXPECT_TRUE(capture.events().isEmpty());

    t.doc->setModifiedFlag(false);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(capture.events(), (QStringList{MessageCapture::beepEvent, kRemoveRow}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableEditing, ATypedChangeMarksTheDocumentAndClickingACellLetsRowsGo)
{
    TableFixture t(numberedTokens(3));
    QAbstractItemModel *model = t.grid().model();
    model->setData(model->index(1, 0), 101); // the value it already has
    EXPECT_FALSE(t.doc->isModified());
    model->setData(model->index(1, 0), 150);
    EXPECT_TRUE(t.doc->isModified());
    EXPECT_EQ(t.view->GetCellInt(1, 0), 150);

    t.grid().selectRange(0, 2, true);
    emit t.grid().rowSelectEvent();
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
}

TEST(TableSort, MovesAnEditedRowButKeepsItsOrderUntilAssignOrder)
{
    TableFixture t({{1, 0, 0, "a"}, {2, 0, 0, "b"}, {3, 0, 0, "c"}});
    t.view->SetCellText(0, 3, QStringLiteral("d"), 1);
    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_SORT));
    EXPECT_EQ(t.symbols(), (QStringList{"b", "c", "d"}));
    EXPECT_EQ(t.column(4), (Ints{2, 3, 1}));
    EXPECT_FALSE(t.doc->isModified());
    EXPECT_FALSE(t.grid().isSortActive());

    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_ASSIGN_ORDER));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 3}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableOrder, NumbersDistinctSymbolsExactlyAndOneNonZeroOrderIsEnough)
{
    TableFixture t({{1, 0, 0, "a"}, {2, 0, 0, "A"}, {3, 0, 0, "a "}, {4, 0, 0, "a"}});
    EXPECT_EQ(t.symbols(), (QStringList{"A", "a", "a", "a "}));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 2, 3}));

    for (int row = 0; row < 4; ++row)
        t.view->SetCellInt(row, 4, 0);
    EXPECT_FALSE(t.view->HasOrder());
    t.view->SetCellInt(3, 4, 7);
    EXPECT_TRUE(t.view->HasOrder());
}

TEST(TableOrder, AGridThatCannotServeTheRowCountReportsAndKeepsWhatItReached)
{
    MessageCapture capture;
    TableFixture t({{1, 0, 0, "b"}, {2, 0, 0, "a"}});
    t.doc->m_nTokenCount = 3; // another table window added a row
    t.view->SetCellInt(0, 4, 0);
    t.view->SetCellInt(1, 4, 0);
    t.view->AssignOrder();
    EXPECT_EQ(capture.messages(), QStringList{"Error in assigning orders to the table"});
    EXPECT_EQ(t.column(4), (Ints{1, 2}));
    EXPECT_TRUE(t.grid().isSortActive());

    capture.clear();
    EXPECT_TRUE(t.view->HasOrder());
    EXPECT_EQ(capture.messages(), QStringList{"Error in checking orders to the table"});
}

TEST(TableWindow, KeepsTheGrid25PixelsInsideTheViewAndLeavesPreviewGreyed)
{
    TableFixture t(numberedTokens(2));
    t.view->show();
    t.view->resize(500, 300);
    EXPECT_EQ(t.grid().size(), QSize(475, 275));
    EXPECT_FALSE(t.view->handlesCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(t.view->handlesCommand(ID_FILE_PRINT));
}

} // namespace
