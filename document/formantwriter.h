#pragma once

#include "framework/safefile.h"

#include <QByteArray>
#include <QString>

class CellSource;

// Writes the token table back as a Formant file. Never shows anything: the document turns
// a failure into the save report.

// The file's bytes for rows 0 to rowCount - 1 of `table`, in the table's order: per row
// F1, F2 and F3 in decimal, F4 and F5 too when the row has either, then the symbol's bytes
// between double quotes, each item followed by a tab, and CR LF. No heading, no Order
// column; no rows give no bytes. A cell that cannot be read throws, as the table does.
QByteArray FormatFormantText(const CellSource &table, int rowCount);

// The first of rows 0 to rowCount - 1 whose symbol would not read back (it holds CR, LF
// or a double quote), or -1.
int FindUnwritableSymbol(const CellSource &table, int rowCount);
