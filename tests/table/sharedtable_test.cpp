// Several table windows of one document (Window > New Window) are one table: an edit in
// any of them is seen in all, saved, and outlives the window it was made in.

#include "tablesession.h"

#include "datatbl5.h"
#include "plotviewf1f2.h"
#include "rowheader.h"

#include <QPointer>

#include <gtest/gtest.h>

namespace {

const QByteArray kVowels = "F1 F2 F3 vowel\r\n"
                           "300\t2300\t2900\t\"i\"\t\r\n"
                           "700\t1200\t2500\t\"a\"\t\r\n"
                           "320\t2200\t2800\t\"i\"\t\r\n"
                           "310\t2400\t2700\t\"i\"\t\r\n"
                           "350\t800\t2300\t\"u\"\t\r\n";

// As the cell editor hands a typed value to the grid.
void type(CTessavoxFormView *view, int row, int column, const QVariant &value)
{
    QAbstractItemModel *model = view->grid().model();
    ASSERT_TRUE(model->setData(model->index(row, column), value));
}

// The file's tokens must be the table's rows, in the table's order.
void expectFileHoldsTable(const QString &path, const CTessavoxFormView *view)
{
    const std::unique_ptr<CTessavoxDoc> back = TableSession::readBack(path);
    ASSERT_TRUE(back);
    const CTessavoxDoc *doc = view->GetDocument();
    ASSERT_EQ(back->m_nTokenCount, doc->m_nTokenCount);
    for (int row = 0; row < doc->m_nTokenCount; ++row) {
        const FormantRecord &record = back->m_records[std::size_t(row)];
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(record.formants[std::size_t(column)], view->GetCellInt(row, column))
                << "row " << row << " column " << column;
        EXPECT_EQ(QString::fromUtf8(record.label.data(), record.labelLength),
                  view->GetCellText(row, 3))
            << "row " << row;
    }
}

TEST(SharedTable, EditsInAnyWindowAreSavedAndOutliveTheFirstWindow)
{
    TableSession session;
    const QString path = session.files.write("vowels.txt", kVowels);
    QPointer<CTessavoxDoc> doc = session.open(path);
    ASSERT_TRUE(doc);
    CTessavoxFormView *first = TableSession::tableViews(doc)[0];
    type(first, 0, 0, 710); // row 0 is "a" once sorted

    // The new window shows the edit made before it opened.
    CTessavoxFormView *second = TableSession::newWindow(doc);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->grid().sharesRowsWith(first->grid()));
    EXPECT_EQ(second->GetCellInt(0, 0), 710);
    EXPECT_EQ(second->GetCellInt(1, 4), 2);

    ASSERT_TRUE(second->OnCmdMsg(ID_EDIT_ADD_ROW));
    EXPECT_EQ(doc->m_nTokenCount, 6);
    EXPECT_EQ(first->grid().rowCount(), 6);
    type(second, 5, 0, 400);
    type(second, 5, 1, 1800);
    type(second, 5, 2, 2600);
    type(second, 5, 3, QStringLiteral("e"));
    EXPECT_EQ(first->GetCellText(5, 3), QStringLiteral("e"));

    ASSERT_TRUE(doc->OnCmdMsg(ID_FILE_SAVE));
    EXPECT_FALSE(doc->isModified());
    expectFileHoldsTable(path, first);

    // An "e" typed into the "i" group in the second window makes it a mixed group there.
    type(second, 2, 3, QStringLiteral("e"));
    ASSERT_TRUE(second->OnCmdMsg(ID_PLOT_F1F2));
    ASSERT_TRUE(first->OnCmdMsg(ID_PLOT_F1F3));
    QPointer<ChildFrame> firstsChart = first->m_pF1F3Frame;
    ASSERT_TRUE(firstsChart);

    ChildFrame::frameOf(first)->close();
    TableSession::settle();
    ASSERT_TRUE(doc);
    EXPECT_FALSE(firstsChart);
    EXPECT_EQ(TableSession::tableViews(doc), std::vector<CTessavoxFormView *>{second});
    EXPECT_EQ(doc->tableView(), second);
    EXPECT_EQ(doc->m_nTokenCount, 6);

    auto *chart = dynamic_cast<CPlotViewF1F2 *>(second->m_pF1F2Frame->activeView());
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->labelHits()[2].isNull());
    TableSession::paint(chart);
    EXPECT_FALSE(chart->labelHits()[2].isNull()) << "the mixed group is drawn";

    second->grid().setRowSelected(1, true);
    ASSERT_TRUE(second->OnCmdMsg(ID_EDIT_REMOVE_ROW));
    ASSERT_TRUE(doc->OnCmdMsg(ID_FILE_SAVE));
    EXPECT_EQ(TableSession::readBack(path)->m_nTokenCount, 5);
    expectFileHoldsTable(path, second);
    EXPECT_TRUE(session.capture.events().isEmpty())
        << session.capture.events().join(", ").toStdString();
}

TEST(SharedTable, EachGridKeepsItsOwnCellsSelectedAndItsRowAnchorSafe)
{
    auto first = std::make_unique<CDatatbl5>();
    for (int i = 0; i < 6; ++i)
        first->addRow({100 + i, 1000, 2000, QStringLiteral("a"), 1});
    CDatatbl5 second;
    second.addRow(CDatatbl5::blankRow());
    second.shareRowsWith(*first);
    EXPECT_EQ(second.rowCount(), 6);

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
    EXPECT_EQ(second.nextSelected(-1), 1);
    EXPECT_EQ(second.nextSelected(1), -1);
    emit header->rowDragged(3);
    EXPECT_EQ(second.nextSelected(-1), 1);
    EXPECT_EQ(second.nextSelected(1), 2);
    EXPECT_EQ(second.nextSelected(2), 3);
    EXPECT_EQ(second.nextSelected(3), -1);

    first.reset();
    EXPECT_EQ(second.rowCount(), 4);
    EXPECT_EQ(second.cellInt(3, 0), 103);
}

} // namespace
