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

TEST(VowelOrder, SortsBySymbolKeepingFileOrderAndNumbersEachRunOfEqualSymbols)
{
    Model tokens;
    EXPECT_FALSE(HasOrder(tokens));
    AssignOrder(tokens); // no rows: nothing to number
    EXPECT_EQ(tokens.count(), 0);

    // "ɑ" (C9 91) sorts after "u" by its bytes; the empty symbol first, as one group.
    addRow(tokens, 301, "u");
    addRow(tokens, 302, "i");
    addRow(tokens, 303, "");
    addRow(tokens, 304, QStringLiteral("\u0251"));
    addRow(tokens, 305, "i");
    addRow(tokens, 306, "");
    addRow(tokens, 307, "u");
    EXPECT_FALSE(HasOrder(tokens));
    AssignOrder(tokens);
    EXPECT_EQ(f1AndOrder(tokens),
              (std::vector<std::pair<int, int>>{
                  {303, 1}, {306, 1}, {302, 2}, {305, 2}, {301, 3}, {307, 3}, {304, 4}}));
    EXPECT_TRUE(HasOrder(tokens));

    // Numbers typed by hand are replaced; one row with a number is enough to have order.
    Model typed;
    addRow(typed, 300, "a", 0);
    addRow(typed, 300, "a", 0);
    EXPECT_FALSE(HasOrder(typed));
    typed.setNumber(1, Model::Order, 7);
    EXPECT_TRUE(HasOrder(typed));
    AssignOrder(typed);
    EXPECT_EQ(f1AndOrder(typed), (std::vector<std::pair<int, int>>{{300, 1}, {300, 1}}));
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

    doc.setModifiedFlag(false);
    AssignOrder(tokens);
    tokens.setRowSelected(0, true);
    EXPECT_FALSE(doc.isModified()) << "numbering and marking rows are no edits";
    tokens.setSymbol(1, "e");
    EXPECT_TRUE(doc.isModified());

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
