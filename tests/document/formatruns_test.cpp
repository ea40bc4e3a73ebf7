// The writer on a table whose symbols come in runs and come back, as a sorted or edited
// table has them: every row carries its own label.

#include "cellsource.h"
#include "formantwriter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

class SymbolColumn : public CellSource
{
public:
    explicit SymbolColumn(QStringList symbols) : m_symbols(std::move(symbols)) {}
    int GetCellInt(int row, int column) const override { return 100 * (row + 1) + column; }
    QString GetCellText(int row, int) const override { return m_symbols.at(row); }

private:
    QStringList m_symbols;
};

TEST(FormantWriter, EveryRowCarriesItsOwnLabelThroughRunsAndReturns)
{
    const SymbolColumn table({"i", "i", "u", QString(), "i", QStringLiteral("\u025B"), "u", "u"});
    EXPECT_EQ(FormatFormantText(table, 8), QByteArray("100\t101\t102\t\"i\"\t\r\n"
                                                      "200\t201\t202\t\"i\"\t\r\n"
                                                      "300\t301\t302\t\"u\"\t\r\n"
                                                      "400\t401\t402\t\"\"\t\r\n"
                                                      "500\t501\t502\t\"i\"\t\r\n"
                                                      "600\t601\t602\t\"\xC9\x9B\"\t\r\n"
                                                      "700\t701\t702\t\"u\"\t\r\n"
                                                      "800\t801\t802\t\"u\"\t\r\n"));
}

} // namespace
