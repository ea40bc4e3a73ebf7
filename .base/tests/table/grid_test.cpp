// The grid on its own: bounds, the mouse, grids sharing rows, clipboard text, the symbol
// sort and bulk changes.

#include "qtprinters.h"
#include "table/clipboardtext.h"
#include "table/datatbl5.h"
#include "table/griderror.h"
#include "table/rowheader.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

using Tester = QAbstractItemModelTester;

// Symbols whose UTF-16 order differs from their UTF-8 order (U+FF41 sorts above the
// surrogates of U+1F600 in UTF-16, below it in UTF-8), and two lone surrogates that UTF-8
// cannot hold and so encode alike.
const QStringList kSymbols = {
    "a", "😀", "ａ", "", "e:", QString(QChar(0xD800)), "A", QString(QChar(0xDC00)), "ɑ"};

QStringList rowText(const CDatatbl5 &grid, int row)
{
    QStringList cells;
    for (int column = 0; column < CDatatbl5::kColumnCount; ++column)
        cells << grid.cellText(row, column);
    return cells;
}

std::vector<int> marked(const CDatatbl5 &grid)
{
    std::vector<int> rows;
    for (int r = grid.nextSelected(-1); r >= 0; r = grid.nextSelected(r))
        rows.push_back(r);
    return rows;
}

TEST(Grid, CallsOutsideTheTableThrowAndChangeNothing)
{
    CDatatbl5 grid;
    grid.addRow({1, 2, 3, QStringLiteral("a"), 4});
    EXPECT_THROW(grid.insertRow(2, CDatatbl5::blankRow()), GridError);
    EXPECT_THROW(grid.removeRow(1), GridError);
    EXPECT_THROW(grid.value(0, 5), GridError);
    EXPECT_THROW(grid.cellInt(-1, 0), GridError);
    EXPECT_THROW(grid.setValue(0, GridModel::F2, QStringLiteral("abc")), GridError);
    EXPECT_THROW(grid.addRow({QStringLiteral("x"), 0, 0, QString(), 0}), GridError);
    EXPECT_THROW(grid.setRowSelected(3, true), GridError);
    EXPECT_THROW(grid.setSortKeyColumn(5, 3), GridError);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(rowText(grid, 0), (QStringList{"1", "2", "3", "a", "4"}));
}

TEST(Grid, HeaderClicksMarkRowsWithCtrlAndShiftAndACellClickIsARowSelectEvent)
{
    CDatatbl5 grid;
    for (int i = 0; i < 10; ++i)
        grid.addRow({i, 0, 0, QStringLiteral("a"), 0});
    grid.resize(400, 400);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy rowSelect(&grid, &CDatatbl5::rowSelectEvent);
    auto click = [&grid](int row, Qt::KeyboardModifiers modifiers = {}) {
        QHeaderView *header = grid.verticalHeader();
        const int y = header->sectionViewportPosition(row) + header->sectionSize(row) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                          QPoint(header->width() / 2, y));
        return marked(grid);
    };
    EXPECT_EQ(click(2), std::vector{2});
    EXPECT_EQ(click(5, Qt::ControlModifier), (std::vector{2, 5}));
    EXPECT_EQ(click(7, Qt::ShiftModifier), (std::vector{5, 6, 7}));
    EXPECT_EQ(click(6, Qt::ControlModifier), (std::vector{5, 7}));
    EXPECT_FALSE(grid.selectionModel()->hasSelection()); // marks are not cells
    EXPECT_EQ(rowSelect.count(), 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(4, 2)).center());
    EXPECT_EQ(rowSelect.count(), 1);
    EXPECT_EQ(std::pair(grid.activeRow(), grid.activeColumn()), std::pair(4, 2));
}

TEST(GridSharing, EachGridKeepsItsOwnCellsSelectedAndItsRowAnchorSafe)
{
    auto first = std::make_unique<CDatatbl5>();
    for (int i = 0; i < 6; ++i)
        first->addRow({100 + i, 1000, 2000, QStringLiteral("a"), 1});
    CDatatbl5 second;
    second.addRow(CDatatbl5::blankRow());
    second.shareRowsWith(*first);
    first->selectBlock(0, 0, 2, 4, true);
    EXPECT_TRUE(second.selectionModel()->selection().isEmpty());
    second.setRowSelected(4, true);
    EXPECT_TRUE(first->isRowSelected(4));

    // Row 5, the first grid's Shift anchor, goes in the second grid; a Shift-click in the
    // first grid then starts afresh instead of reaching past the table.
    auto *header = static_cast<RowHeader *>(first->verticalHeader());
    emit header->rowPressed(5, Qt::NoModifier);
    second.removeRow(5);
    second.removeRow(4);
    emit header->rowPressed(1, Qt::ShiftModifier);
    EXPECT_EQ(marked(second), std::vector{1});
    emit header->rowDragged(3);
    EXPECT_EQ(marked(second), (std::vector{1, 2, 3}));
    first.reset();
    EXPECT_EQ(second.rowCount(), 4);
    EXPECT_EQ(second.cellInt(3, 0), 103);
}

TEST(GridClipboard, QuotesWhatWouldSplitACell)
{
    const QList<QStringList> awkward = {{"tab\there", "line\nend", "\"q", ""}, {"plain"}};
    EXPECT_EQ(ClipboardText::read(ClipboardText::write(awkward)), awkward);
    EXPECT_EQ(ClipboardText::read("\"a\"\"b\"\t\"open\r\n 1 \t\n"),
              (QList<QStringList>{{"a\"b", "\"open"}, {" 1 ", ""}}));
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
    grid.setSortKeyColumn(0, GridModel::Symbol);
    grid.setSortActive(true);
    for (int row = 0; row < count; ++row)
        ASSERT_EQ(grid.cellInt(row, GridModel::F1), expected[std::size_t(row)]) << row;
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
        grid.removeSelectedRows();
        grid.insertRows(2, 3, CDatatbl5::blankRow());
        grid.selectBlock(1, 0, 3, 4, true);
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
    {
        const CDatatbl5::BulkChange outer(bulk);
        {
            const CDatatbl5::BulkChange inner(bulk);
            fill(bulk);
        }
        EXPECT_EQ(resets.count(), 0); // only the outermost end tells the views
    }
    EXPECT_EQ(std::pair(resets.count(), changes.count()), (std::pair<qsizetype, qsizetype>(1, 0)));
    EXPECT_EQ(bulk.verticalHeader()->count(), plain.rowCount()); // the view took the reset
    ASSERT_EQ(bulk.rowCount(), plain.rowCount());
    for (int row = 0; row < plain.rowCount(); ++row)
        EXPECT_EQ(rowText(bulk, row), rowText(plain, row)) << row;
    EXPECT_EQ(marked(bulk), std::vector<int>());
    bulk.setValue(1, GridModel::F2, 1234);
    EXPECT_EQ(changes.count(), 1); // afterwards every change is heard again
}

} // namespace
