#pragma once

#include <QString>

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
};
