// Large tables: a fill told to the views as one change, and the symbol sort on thousands
// of rows with a handful of distinct symbols.

#include "datatbl5.h"
#include "tablefixture.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

// Symbols whose UTF-16 order differs from their UTF-8 order, and two lone surrogates
// that UTF-8 cannot hold and so encode alike.
const QStringList kSymbols = {
    QStringLiteral("a"), QStringLiteral("\U0001F600"), QStringLiteral("\uFF41"),
    QString(),           QStringLiteral("e:"),         QString(QChar(0xD800)),
    QStringLiteral("A"), QString(QChar(0xDC00)),       QStringLiteral("\u0251")};

TEST(GridBulkChange, ViewsHearOneResetAndSeeTheSameTableAsRowByRowChanges)
{
    // Same edits with and without a bulk change must leave identical tables.
    auto fill = [](CDatatbl5 &grid) {
        for (int i = 0; i < 40; ++i) {
            grid.addRow(CDatatbl5::blankRow());
            grid.setValue(i, GridModel::F1, 1000 - i);
            grid.setValue(i, GridModel::Symbol, kSymbols[i % kSymbols.size()]);
            grid.setRowSelected(i, i % 3 == 0);
        }
        grid.removeRow(5);
        grid.insertRows(2, 3, CDatatbl5::blankRow());
        grid.setSortKeyColumn(0, GridModel::Symbol);
        grid.setSortActive(true);
        grid.setValue(0, GridModel::Symbol, QStringLiteral("zz")); // re-sorts at once
        grid.selectRange(0, grid.rowCount() - 1, false);
    };
    CDatatbl5 plain;
    fill(plain);

    CDatatbl5 bulk;
    QAbstractItemModelTester tester(const_cast<GridModel *>(&bulk.cells()),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
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
        SCOPED_TRACE(row);
        for (int column = 0; column < CDatatbl5::kColumnCount; ++column)
            EXPECT_EQ(bulk.value(row, column), plain.value(row, column));
        EXPECT_FALSE(bulk.isRowSelected(row));
    }

    // Afterwards every change is heard again.
    bulk.setValue(1, GridModel::F2, 1234);
    EXPECT_EQ(changes.count(), 1);
}

TEST(GridSort, ThousandsOfRowsOrderAsAStableSortOnTheirUtf8Bytes)
{
    CDatatbl5 grid;
    const int count = 3000;
    {
        const CDatatbl5::BulkChange bulk(grid);
        grid.insertRows(0, count, CDatatbl5::blankRow());
        for (int i = 0; i < count; ++i) {
            grid.setValue(i, GridModel::F1, i);
            // Runs and scattered repeats, as files and edited tables have them.
            grid.setValue(i, GridModel::Symbol, kSymbols[(i / 7 + i * i) % kSymbols.size()]);
        }
    }
    std::vector<int> expected(count);
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&grid](int a, int b) {
        return grid.cellText(a, GridModel::Symbol).toUtf8() <
               grid.cellText(b, GridModel::Symbol).toUtf8();
    });
    std::vector<QString> expectedSymbols;
    for (int row : expected)
        expectedSymbols.push_back(grid.cellText(row, GridModel::Symbol));

    grid.setSortKeyColumn(0, GridModel::Symbol);
    grid.setSortActive(true);
    for (int row = 0; row < count; ++row) {
        ASSERT_EQ(grid.cellInt(row, GridModel::F1), expected[std::size_t(row)]) << row;
        ASSERT_EQ(grid.cellText(row, GridModel::Symbol), expectedSymbols[std::size_t(row)]);
    }
}

TEST(TableOpen, FillsSortsAndNumbersAsOneChangeAndStaysLiveAfterwards)
{
    std::vector<Token> tokens;
    for (int i = 0; i < 500; ++i)
        tokens.push_back({300 + i, 2000, 2500, QByteArray(i % 2 ? "u" : "i")});
    TableFixture t(tokens);
    const CDatatbl5 &grid = t.view->grid();
    ASSERT_EQ(grid.rowCount(), 500);
    EXPECT_EQ(grid.cellText(0, GridModel::Symbol), QStringLiteral("i"));
    EXPECT_EQ(grid.cellInt(0, GridModel::F1), 300);
    EXPECT_EQ(grid.cellInt(249, GridModel::Order), 1);
    EXPECT_EQ(grid.cellText(250, GridModel::Symbol), QStringLiteral("u"));
    EXPECT_EQ(grid.cellInt(250, GridModel::F1), 301);
    EXPECT_EQ(grid.cellInt(499, GridModel::Order), 2);
    EXPECT_EQ(grid.verticalHeader()->count(), 500);

    QSignalSpy changes(&grid.cells(), &GridModel::dataChanged);
    t.view->SetCellInt(3, GridModel::F2, 1500);
    EXPECT_EQ(changes.count(), 1);
}

} // namespace
