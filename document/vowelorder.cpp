#include "document/vowelorder.h"

#include "document/tokentablemodel.h"

void AssignOrder(TokenTableModel &tokens)
{
    const TokenTableModel::QuietChange quiet(tokens);
    tokens.sortByColumn(TokenTableModel::Symbol);
    int n = 0;
    for (int row = 0; row < tokens.count(); ++row) {
        if (row == 0 || !tokens.sameSymbol(row, row - 1))
            ++n;
        tokens.setNumber(row, TokenTableModel::Order, n);
    }
}

bool HasOrder(const TokenTableModel &tokens)
{
    for (int row = 0; row < tokens.count(); ++row) {
        if (tokens.number(row, TokenTableModel::Order) != 0)
            return true;
    }
    return false;
}
