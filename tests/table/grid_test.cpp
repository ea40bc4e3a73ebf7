// The grid on its own: bounds, the mouse and typed editing, the clipboard, the symbol sort
// and bulk changes.

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

#include <algorithm>
#include <numeric>

inline void PrintTo(const QVariant &value, std::ostream *os)
{
    *os << "QVariant(" << value.typeName() << ", " << value.toString().toStdString() << ')';
}

namespace {

using Tester = QAbstractItemModelTester;

// Symbols whose UTF-16 order differs from their UTF-8 order (U+FF41 sorts above the
// surrogates of U+1F600 in UTF-16, below it in UTF-8), and two lone surrogates that UTF-8
// cannot hold and so encode alike.
const QStringList kSymbols = {
    "a", QStringLiteral("😀"),    QStringLiteral("ａ"), QString(), "e:", QString(QChar(0xD800)),
    "A", QString(QChar(0xDC00)), QStringLiteral("ɑ")};

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

class GridOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 10; ++i)
            grid.addRow({i, 0, 0, QStringLiteral("a"), 0});
        grid.resize(400, 400);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    // Clicks the row's header and returns the marked rows.
    std::vector<int> click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView *header = grid.verticalHeader();
        const QPoint at(header->width() / 2,
                        header->sectionViewportPosition(row) + header->sectionSize(row) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
        std::vector<int> rows;
        for (int r = grid.nextSelected(-1); r >= 0; r = grid.nextSelected(r))
            rows.push_back(r);
        return rows;
    }
    CDatatbl5 grid;
};

TEST_F(GridOnScreen, RowHeaderMarksRowsWithCtrlAndShiftAndACellClickIsARowSelectEvent)
{
    QSignalSpy event(&grid, &CDatatbl5::rowSelectEvent);
    using Rows = std::vector<int>;
    EXPECT_EQ(click(2), Rows{2});
    EXPECT_EQ(click(5, Qt::ControlModifier), (Rows{2, 5}));
    EXPECT_EQ(click(7, Qt::ShiftModifier), (Rows{5, 6, 7}));
    EXPECT_EQ(click(6, Qt::ControlModifier), (Rows{5, 7}));
    EXPECT_EQ(click(1), Rows{1});
    EXPECT_FALSE(grid.selectionModel()->hasSelection());
    EXPECT_EQ(event.count(), 0);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(4, 2)).center());
    EXPECT_EQ(event.count(), 1);
    EXPECT_EQ(std::pair(grid.activeRow(), grid.activeColumn()), std::pair(4, 2));
}

TEST_F(GridOnScreen, NumberCellsTakeDigitsOnlyAndOnlyRealChangesAreReported)
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
    type(1, GridModel::F1, QStringLiteral("315"));
    EXPECT_EQ(edited.count(), 1);
    type(2, GridModel::Symbol, QStringLiteral("e:"));
    EXPECT_EQ(grid.value(2, GridModel::Symbol), QVariant(QStringLiteral("e:")));
    type(3, GridModel::Order, QString());
    EXPECT_FALSE(grid.value(3, GridModel::Order).isValid());
    EXPECT_EQ(edited.count(), 3);
}

TEST(GridClipboard, PastesSpreadsheetBlocksAddingRowsAndRoundTripsCopiedCells)
{
    EXPECT_EQ(ClipboardText::read(QStringLiteral("1\t2\r\n3\t\n")),
              (QList<QStringList>{{"1", "2"}, {"3", ""}}));
    EXPECT_EQ(ClipboardText::read(QStringLiteral("\"a\"\"b\tc\"\t\"open")),
              (QList<QStringList>{{"a\"b\tc", "\"open"}}));
    const QList<QStringList> awkward = {{"tab\there", "line\nend", "\"q", ""}, {"plain"}};
    EXPECT_EQ(ClipboardText::read(ClipboardText::write(awkward)), awkward);

    CDatatbl5 grid;
    grid.addRow({310, 2020, 2960, QStringLiteral("a\tb"), 1});
    grid.addRow({710, 1100, 2540, QStringLiteral("a"), 2});
    grid.addRow({300, 870, 2240, QStringLiteral("u"), 3});
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

    grid.setValue(0, GridModel::F3, QVariant());
    grid.selectBlock(0, 0, 0, 4, true);
    grid.copySelectedCells();
    grid.clearSelectedCells();
    EXPECT_EQ(grid.cellText(0, GridModel::Symbol), QString());
    EXPECT_FALSE(grid.value(0, GridModel::F1).isValid());
    grid.setActiveRow(2);
    grid.setActiveColumn(0);
    grid.pasteAtActiveCell();
    EXPECT_EQ(grid.rowCount(), 4);
    const CDatatbl5::RowValues copied = {310, 2020, QVariant(), QStringLiteral("a\tb"), 1};
    for (int column = 0; column < CDatatbl5::kColumnCount; ++column)
        EXPECT_EQ(grid.value(2, column), copied[std::size_t(column)]) << column;
}

// Thousands of rows in runs and scattered repeats, as files and edited tables have them.
TEST(GridSort, ThousandsOfRowsOrderAsAStableSortOnTheirUtf8Bytes)
{
    CDatatbl5 grid;
    const int count = 3000;
    {
        const CDatatbl5::BulkChange bulk(grid);
        grid.insertRows(0, count, CDatatbl5::blankRow());
        for (int i = 0; i < count; ++i) {
            grid.setValue(i, GridModel::F1, i);
            grid.setValue(i, GridModel::Symbol, kSymbols[(i / 7 + i * i) % kSymbols.size()]);
        }
    }
    std::vector<int> expected(count);
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&grid](int a, int b) {
        return grid.cellText(a, GridModel::Symbol).toUtf8() <
               grid.cellText(b, GridModel::Symbol).toUtf8();
    });
    QStringList expectedSymbols;
    for (int row : expected)
        expectedSymbols.push_back(grid.cellText(row, GridModel::Symbol));

    grid.setSortKeyColumn(0, GridModel::Symbol);
    grid.setSortActive(true);
    for (int row = 0; row < count; ++row) {
        ASSERT_EQ(grid.cellInt(row, GridModel::F1), expected[std::size_t(row)]) << row;
        ASSERT_EQ(grid.cellText(row, GridModel::Symbol), expectedSymbols[row]);
    }
}

TEST(GridBulkChange, ViewsHearOneResetAndSeeTheSameTableAsRowByRowChanges)
{
    auto fill = [](CDatatbl5 &grid) {
        for (int i = 0; i < 40; ++i) {
            grid.addRow(CDatatbl5::blankRow());
            grid.setValue(i, GridModel::F1, 1000 - i);
            grid.setValue(i, GridModel::Symbol, kSymbols[i % kSymbols.size()]);
            grid.setRowSelected(i, i % 3 == 0);
        }
        grid.removeRow(5);
        grid.insertRows(2, 3, CDatatbl5::blankRow());
        grid.selectBlock(1, 0, 3, 4, true);
        grid.setActiveRow(4);
        grid.setSortKeyColumn(0, GridModel::Symbol);
        grid.setSortActive(true);
        grid.setValue(0, GridModel::Symbol, QStringLiteral("zz")); // re-sorts at once
        grid.selectRange(0, grid.rowCount() - 1, false);
    };
    CDatatbl5 plain;
    Tester plainTester(plain.model(), Tester::FailureReportingMode::Fatal);
    fill(plain);

    CDatatbl5 bulk;
    Tester tester(bulk.model(), Tester::FailureReportingMode::Fatal);
    QSignalSpy resets(&bulk.cells(), &GridModel::modelReset);
    QSignalSpy changes(&bulk.cells(), &GridModel::dataChanged);
    QSignalSpy inserts(&bulk.cells(), &GridModel::rowsInserted);
    {
        const CDatatbl5::BulkChange outer(bulk);
        {
            const CDatatbl5::BulkChange inner(bulk);
            fill(bulk);
        }
        EXPECT_EQ(resets.count(), 0); // only the outermost end tells the views
    }
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(bulk.verticalHeader()->count(), plain.rowCount()); // the view took the reset
    ASSERT_EQ(bulk.rowCount(), plain.rowCount());
    for (int row = 0; row < plain.rowCount(); ++row) {
        for (int column = 0; column < CDatatbl5::kColumnCount; ++column)
            EXPECT_EQ(bulk.value(row, column), plain.value(row, column)) << row << ',' << column;
        EXPECT_FALSE(bulk.isRowSelected(row));
    }
    bulk.setValue(1, GridModel::F2, 1234);
    EXPECT_EQ(changes.count(), 1); // afterwards every change is heard again

    // The remaining row operations, under the model tester too.
    plain.selectRange(0, 3, true);
    plain.removeSelectedRows();
    plain.selectBlock(0, 0, 1, 1, true);
    plain.clearSelectedCells();
    QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n5\t6\n"));
    plain.setActiveRow(plain.rowCount() - 1);
    plain.pasteAtActiveCell();
    EXPECT_EQ(plain.rowCount(), 40);
    plain.clearRows();
    EXPECT_EQ(plain.model()->rowCount(), 0);
}

} // namespace
