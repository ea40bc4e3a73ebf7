// Vowel numbering over the document's rows, and the document's counters and modified flag
// following every edit of its rows.

#include "document/tessavoxdoc.h"
#include "document/vowelorder.h"

#include <QObject>

#include <gtest/gtest.h>

namespace {

using Model = TokenTableModel;

void addRow(Model &tokens, int f1, const QString &symbol, int order = 0)
{
    Model::Row row;
    row.numbers = {f1, 1500, 2500, order};
    row.symbol = symbol;
    tokens.insertRowAt(tokens.count(), row);
}

// F1 and Order per row, in table order.
std::vector<std::pair<int, int>> f1AndOrder(const Model &tokens)
{
    std::vector<std::pair<int, int>> rows;
    for (int row = 0; row < tokens.count(); ++row)
        rows.emplace_back(tokens.number(row, Model::F1), tokens.number(row, Model::Order));
    return rows;
}

// Hand-typed numbers are replaced, and one row with a number is enough to have order (the
// table window's fill covers sorting and numbering files, the grid test the byte order).
TEST(VowelOrder, SortsBySymbolKeepingFileOrderAndNumbersEachRunOfEqualSymbols)
{
    Model tokens;
    AssignOrder(tokens); // no rows: nothing to number
    EXPECT_FALSE(HasOrder(tokens));
    // "ɑ" (C9 91) sorts after "u" by its bytes; the empty symbol first, as one group.
    int f1 = 300;
    for (const QString symbol : {"u", "i", "", "\u0251", "i", "", "u"})
        addRow(tokens, ++f1, symbol);
    EXPECT_FALSE(HasOrder(tokens));
    tokens.setNumber(1, Model::Order, 7);
    EXPECT_TRUE(HasOrder(tokens));
    AssignOrder(tokens);
    EXPECT_EQ(f1AndOrder(tokens),
              (std::vector<std::pair<int, int>>{
                  {303, 1}, {306, 1}, {302, 2}, {305, 2}, {301, 3}, {307, 3}, {304, 4}}));
}

TEST(DocumentRows, EditsKeepCountLoadedAndModifiedInStepButNumberingAndFillingDoNot)
{
    CTessavoxDoc doc;
    EXPECT_FALSE(doc.hasTable());
    QObject table;
    doc.attachTable(&table); // an empty document fills no rows
    EXPECT_TRUE(doc.hasTable());
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.m_bDataLoaded);

    Model &tokens = doc.tokens();
    addRow(tokens, 300, "i");
    addRow(tokens, 700, "a");
    EXPECT_EQ(doc.m_nTokenCount, 2);
    EXPECT_TRUE(doc.m_bDataLoaded);
    EXPECT_TRUE(doc.isModified());

    // Numbering and marking rows are no edits: the random editing test checks them.
    doc.setModifiedFlag(false);
    tokens.beginBulkChange();
    tokens.removeRowAt(0);
    tokens.endBulkChange();
    EXPECT_FALSE(doc.isModified());
    tokens.removeRowAt(0);
    EXPECT_EQ(doc.m_nTokenCount, 0);
    EXPECT_TRUE(doc.isModified());

    // A table gone leaves the document without one: charts and saving then refuse.
    {
        QObject second;
        doc.attachTable(&second);
        doc.detachTable(&table);
        EXPECT_TRUE(doc.hasTable());
    }
    EXPECT_FALSE(doc.hasTable());
}

} // namespace
