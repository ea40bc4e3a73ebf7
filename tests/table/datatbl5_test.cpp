// The grid on its own: rows, cells, the two selections, the sort, the clipboard and
// typed editing.

#include "clipboardtext.h"
#include "datatbl5.h"
#include "griderror.h"

#include "qtprinters.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

inline void PrintTo(const QVariant &value, std::ostream *os)
{
    *os << "QVariant(" << value.typeName() << ", " << value.toString().toStdString() << ')';
}

namespace {

CDatatbl5::RowValues tokenRow(int f1, const QString &symbol)
{
    return {f1, 0, 0, symbol, 0};
}

QStringList symbols(const CDatatbl5 &grid)
{
    QStringList result;
    for (int row = 0; row < grid.rowCount(); ++row)
        result.append(grid.cellText(row, GridModel::Symbol));
    return result;
}

TEST(GridRows, CallsOutsideTheTableThrowAndChangeNothing)
{
    CDatatbl5 grid;
    grid.addRow(CDatatbl5::blankRow());
    EXPECT_THROW(grid.insertRow(-1, CDatatbl5::blankRow()), GridError);
    EXPECT_THROW(grid.insertRow(2, CDatatbl5::blankRow()), GridError);
    EXPECT_THROW(grid.removeRow(1), GridError);
    EXPECT_THROW(grid.value(1, 0), GridError);
    EXPECT_THROW(grid.value(0, 5), GridError);
    EXPECT_THROW(grid.cellInt(-1, 0), GridError);
    EXPECT_THROW(grid.setValue(0, GridModel::F2, QStringLiteral("abc")), GridError);
    EXPECT_THROW(grid.addRow({QStringLiteral("x"), 0, 0, QString(), 0}), GridError);
    EXPECT_THROW(grid.setRowSelected(3, true), GridError);
    EXPECT_THROW(grid.setActiveRow(1), GridError);
    EXPECT_THROW(grid.setSortKeyColumn(5, 3), GridError);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.value(0, GridModel::F2), QVariant(0));
}

TEST(GridModelConsistency, SurvivesEveryOperationUnderTheModelTester)
{
    CDatatbl5 grid;
    QAbstractItemModelTester tester(grid.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 6; ++i)
        grid.addRow(tokenRow(i, QString(QChar(u'f' - i))));
    grid.insertRow(2, CDatatbl5::blankRow());
    grid.selectBlock(1, 0, 3, 4, true);
    grid.setActiveRow(4);
    grid.setSortKeyColumn(0, GridModel::Symbol);
    grid.setSortActive(true);
    grid.setValue(0, GridModel::Symbol, QStringLiteral("z"));
    grid.setSortActive(false);
    grid.selectRange(0, 3, true);
    grid.removeRow(1);
    grid.clearSelectedCells();
    QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n5\t6\n7\t8\n9\t10\n"));
    grid.setActiveRow(grid.rowCount() - 1);
    grid.pasteAtActiveCell();
    grid.clearRows();
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

class GridMouse : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 10; ++i)
            grid.addRow(tokenRow(i, QStringLiteral("a")));
        grid.resize(400, 400);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView *header = grid.verticalHeader();
        const QPoint at(header->width() / 2,
                        header->sectionViewportPosition(row) + header->sectionSize(row) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    }
    void clickCell(int row, int column)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, column)).center());
    }
    std::vector<int> marked() const
    {
        std::vector<int> rows;
        for (int r = grid.nextSelected(-1); r >= 0; r = grid.nextSelected(r))
            rows.push_back(r);
        return rows;
    }
    CDatatbl5 grid;
};

TEST_F(GridMouse, RowHeaderMarksRowsWithCtrlAndShiftExtendingAndLeavesCellsAlone)
{
    clickRow(2);
    EXPECT_EQ(marked(), (std::vector<int>{2}));
    clickRow(5, Qt::ControlModifier);
    EXPECT_EQ(marked(), (std::vector<int>{2, 5}));
    clickRow(7, Qt::ShiftModifier);
    EXPECT_EQ(marked(), (std::vector<int>{5, 6, 7}));
    clickRow(6, Qt::ControlModifier);
    EXPECT_EQ(marked(), (std::vector<int>{5, 7}));
    clickRow(1);
    EXPECT_EQ(marked(), (std::vector<int>{1}));
    EXPECT_FALSE(grid.selectionModel()->hasSelection());
}

TEST_F(GridMouse, ClickingACellRaisesTheRowSelectEventAndMakesItActive)
{
    QSignalSpy event(&grid, &CDatatbl5::rowSelectEvent);
    clickRow(3);
    EXPECT_EQ(event.count(), 0);
    clickCell(4, 2);
    EXPECT_EQ(event.count(), 1);
    EXPECT_EQ(grid.activeRow(), 4);
    EXPECT_EQ(grid.activeColumn(), 2);
}

TEST_F(GridMouse, NumberCellsTakeDigitsOnlyAndReportRealChanges)
{
    QSignalSpy edited(&grid, &CDatatbl5::cellEdited);
    auto type = [this](int row, int column, const QString &keys) {
        const QModelIndex index = grid.model()->index(row, column);
        grid.setCurrentIndex(index);
        grid.edit(index);
        auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on a queued call
    };
    type(1, GridModel::F1, QStringLiteral("-3x1.5"));
    EXPECT_EQ(grid.value(1, GridModel::F1), QVariant(315));
    EXPECT_EQ(edited.count(), 1);
    type(1, GridModel::F1, QStringLiteral("315")); // the same value is no change
    EXPECT_EQ(edited.count(), 1);
    type(2, GridModel::Symbol, QStringLiteral("e:"));
    EXPECT_EQ(grid.value(2, GridModel::Symbol), QVariant(QStringLiteral("e:")));
    type(3, GridModel::Order, QString());
    EXPECT_FALSE(grid.value(3, GridModel::Order).isValid());
    EXPECT_EQ(edited.count(), 3);
}

TEST(GridSort, IsStableAndOrdersSymbolsByTheirUtf8Bytes)
{
    CDatatbl5 grid;
    // U+FF41 is one UTF-16 unit above the surrogates of U+1F600, but below it in UTF-8.
    const QStringList input = {QStringLiteral("😀"), QStringLiteral("b"), QStringLiteral("ａ"),
                               QStringLiteral("a"), QStringLiteral("é"), QString(),
                               QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("a ")};
    for (int i = 0; i < input.size(); ++i)
        grid.addRow(tokenRow(i, input[i]));
    grid.setSortKeyColumn(0, GridModel::Symbol);
    grid.setSortActive(true);
    EXPECT_EQ(symbols(grid), (QStringList{QString(), "A", "a", "a", "a ", "b", QStringLiteral("é"),
                                          QStringLiteral("ａ"), QStringLiteral("😀")}));
    EXPECT_EQ(grid.cellInt(2, GridModel::F1), 3); // equal symbols keep their order
    EXPECT_EQ(grid.cellInt(3, GridModel::F1), 7);
}

TEST(ClipboardText, ReadsSpreadsheetTextAndQuotesWhatWouldSplitACell)
{
    EXPECT_EQ(ClipboardText::read(QStringLiteral("1\t2\r\n3\t\n")),
              (QList<QStringList>{{"1", "2"}, {"3", ""}}));
    EXPECT_EQ(ClipboardText::read(QStringLiteral("\"a\"\"b\tc\"\t\"open")),
              (QList<QStringList>{{"a\"b\tc", "\"open"}}));
    const QList<QStringList> awkward = {{"tab\there", "line\nend", "\"q", ""}, {"plain"}};
    EXPECT_EQ(ClipboardText::read(ClipboardText::write(awkward)), awkward);
}

class GridClipboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.addRow({310, 2020, 2960, QStringLiteral("i"), 1});
        grid.addRow({710, 1100, 2540, QStringLiteral("a"), 2});
        grid.addRow({300, 870, 2240, QStringLiteral("u"), 3});
    }
    CDatatbl5 grid;
};

TEST_F(GridClipboard, PastesASpreadsheetBlockFromTheActiveCellAddingRowsAtTheEnd)
{
    QApplication::clipboard()->setText(
        QStringLiteral("400\t1900\t\"e\"\r\n 450 \t1800\tɛ\t7\t99\r\n"));
    grid.setActiveRow(2);
    grid.setActiveColumn(1);
    grid.pasteAtActiveCell();
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cellInt(2, GridModel::F1), 300); // left of the active cell: untouched
    EXPECT_EQ(grid.cellInt(2, GridModel::F2), 400);
    EXPECT_EQ(grid.cellText(2, GridModel::Symbol), QStringLiteral("e"));
    EXPECT_EQ(grid.cellInt(3, GridModel::F2), 450);
    EXPECT_EQ(grid.cellText(3, GridModel::Symbol), QStringLiteral("ɛ"));
    EXPECT_EQ(grid.cellInt(3, GridModel::Order), 7); // the sixth field has no column
    EXPECT_EQ(grid.cellInt(3, GridModel::F1), 0);    // a new row starts blank
}

TEST_F(GridClipboard, CopyThenPasteElsewhereRoundTripsEveryCellAndClearEmptiesThem)
{
    grid.setValue(0, GridModel::Symbol, QStringLiteral("a\tb"));
    grid.setValue(0, GridModel::F3, QVariant());
    grid.selectBlock(0, 0, 0, 4, true);
    grid.copySelectedCells();
    grid.clearSelectedCells();
    EXPECT_EQ(grid.cellText(0, GridModel::Symbol), QString());
    EXPECT_FALSE(grid.value(0, GridModel::F1).isValid());
    EXPECT_EQ(grid.rowCount(), 3);

    grid.setActiveRow(2);
    grid.setActiveColumn(0);
    grid.pasteAtActiveCell();
    EXPECT_EQ(grid.cellInt(2, GridModel::F1), 310);
    EXPECT_FALSE(grid.value(2, GridModel::F3).isValid());
    EXPECT_EQ(grid.cellText(2, GridModel::Symbol), QStringLiteral("a\tb"));
    EXPECT_EQ(grid.cellInt(2, GridModel::Order), 1);
}

} // namespace
