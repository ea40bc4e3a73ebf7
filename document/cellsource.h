#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// Read access to the live token table by zero-based row and column. The table view
// implements it; the file writer and the charts read the tokens only through it.
class CellSource
{
public:
    virtual ~CellSource() = default;
    // The cell as an integer: 0 for an empty cell.
    virtual int GetCellInt(int row, int column) const = 0;
    // The cell as text: empty for an empty cell.
    virtual QString GetCellText(int row, int column) const = 0;
    // Whether the cell holds nothing: a number cell that is empty reads as 0, but is none.
    virtual bool IsCellEmpty(int row, int column) const
    {
        return GetCellText(row, column).isEmpty();
    }
    // The symbol's bytes as the file is to hold them; by default its UTF-8.
    virtual QByteArray GetSymbolBytes(int row) const { return GetCellText(row, 3).toUtf8(); }
    // F4 and F5 of the row, 0 where it has none; by default none.
    virtual std::array<int, 2> GetHigherFormants(int) const { return {}; }
    // Whether the user set the row aside: the charts leave it out. By default none is.
    virtual bool IsRowExcluded(int) const { return false; }
};
