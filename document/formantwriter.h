#pragma once

#include "framework/safefile.h"

#include <QByteArray>
#include <QString>

class CellSource;

// Writes the token table back as a Formant file. Never shows anything: the document turns
// a failure into the save report.

// The file's bytes for rows 0 to rowCount - 1 of `table`, in the table's order: per row
// F1, F2 and F3 in decimal (F3 left out when its cell is empty and the row has no F4 or
// F5), F4 and F5 too when the row has either, then the symbol's bytes
// between double quotes, each item followed by a tab, and CR LF. No heading, no Order
// column; no rows give no bytes. A cell that cannot be read throws, as the table does.
QByteArray FormatFormantText(const CellSource &table, int rowCount);

// The first of rows 0 to rowCount - 1 whose symbol would not read back (it holds CR, LF
// or a double quote), or -1.
int FindUnwritableSymbol(const CellSource &table, int rowCount);

// Where rows 0 to rowCount - 1 first have an empty F1 or F2 cell, or an empty F3 before F4
// and F5: a Formant file has no way to write one (a 0 there reads back as a token at 0 Hz).
// An empty F3 alone is written as a line of two formants. Row and column, or -1 -1.
struct FormantCell
{
    int row = -1;
    int column = -1;
};
FormantCell FindEmptyFormant(const CellSource &table, int rowCount);
