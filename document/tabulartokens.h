#pragma once

#include "document/tabularreader.h"
#include "document/tabulartable.h"
#include "document/tokentablemodel.h"

#include "framework/fileerror.h"

#include <QStringList>

#include <optional>
#include <vector>

// Moves a table file's rows into the document's token rows and back: the rows carry the
// vowel, F1 to F5 and the speaker, and remember their row of the file so that its other
// cells, and its values where the user left them alone, are written back as read.

// The value a token cell takes for a table's value in hertz: rounded to whole hertz, or
// nothing when it is missing or outside 0..kMaxFormant (the cell stays empty then).
std::optional<int> TokenHertz(double hertz);

// Fills `tokens` with the table's rows, sorted and numbered by vowel as a Formant file's
// are. Shows the Speaker column when the table has one.
void FillTokensFromTable(const TabularTable &table, TokenTableModel &tokens);

// The column that marks the rows the user set aside, headed "exclude" in any case, or -1.
int ExcludeColumn(const TabularTable &table);
// Whether a cell of that column sets its row aside: anything but empty, 0, false or no.
bool IsExcludeMark(std::string_view text);
// Per row of `table`, whether it is set aside; empty when the table has no such column.
std::vector<bool> ExcludedRows(const TabularTable &table);

// How many F1, F2 and F3 values of the table leave their token cell empty.
int CountEmptyTokenValues(const TabularTable &table);

// The order in which the rows are written to a table: the rows of the file in the file's
// order (the window's sorting only groups them for the charts), then the rows added here
// in the window's order.
std::vector<int> TableRowOrder(const TokenTableModel &tokens);

// Writes the table file for the token rows (in TableRowOrder) to `path`, in `source`'s
// columns and the layout `format`: each row's cells from its row of `source`, with F1, F2,
// F3 and the vowel replaced where the token row differs from what that row gave, and the
// speaker where it was typed over. Rows added here get empty other cells. The exclude
// column says which rows are set aside; it is added when a row is and `source` has none.
// Written straight
// from the rows, without a second table in memory. An error of kind None on success;
// `sameAsSource` then says whether the file holds exactly `source`, row for row.
FileError WriteTableFromTokens(const QString &path, const TabularTable &source,
                               const TabularFormat &format, const TokenTableModel &tokens,
                               bool &sameAsSource);

// Options that read a table written from `table` back with its roles on the same columns.
TabularReadOptions SameRoles(const TabularTable &table);

// An empty table with the columns F1, F2, F3 (F4 and F5 when a row has them) and vowel,
// separated by `separator`: the layout a Formant document takes when saved as a table.
TabularTable EmptyTokenTable(char separator, bool higherFormants);

// The table's columns that hold no token value (neither vowel, speaker nor a formant), in
// file order.
QStringList OtherTableColumns(const TabularTable &table);

// What a Formant file would lose of the table's token rows, one line per kind of loss;
// empty when nothing.
QStringList FormantFileLosses(const TabularTable &source, const TokenTableModel &tokens);
