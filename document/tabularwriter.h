#pragma once

#include "document/tabulartable.h"
#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>

#include <string_view>

// Writes a TabularTable back in the layout it was read in (separator, quoting, line ends,
// byte-order mark, header, every column in order). Never shows anything.

// What the writer reads: a table's header, cells and layout, from a TabularTable or from
// anything that stands for one (the document's rows over the table they came from), so that
// a large table is written without a second copy of it in memory.
class TabularCells
{
public:
    virtual ~TabularCells() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual std::string_view header(int column) const = 0;
    virtual bool headerQuoted(int column) const = 0;
    // The cell's text, valid until the next call, and whether it was quoted in its file.
    virtual std::string_view cell(int row, int column, bool &quoted) const = 0;
    virtual const TabularFormat &format() const = 0;
    // About how many bytes the file takes, so that room is made once.
    virtual std::size_t sizeHint() const { return 0; }
};

// The file's bytes: the header row, then one row per table row, every column. A cell is
// quoted (quotes doubled) when it was quoted in the file, when the layout quotes all, or
// when it holds the separator, a quote, a CR or an LF.
QByteArray FormatTabularText(const TabularTable &table);
// Writes any cells to `path` as WriteTabularFile writes a table, passing them on in blocks
// rather than holding the whole file in memory. An error of kind None on success.
FileError WriteTabularCells(const QString &path, const TabularCells &cells);

// Writes the table to `path` through a temporary file that replaces the target only once
// it is complete on disk. Returns an error of kind None on success.
FileError WriteTabularFile(const QString &path, const TabularTable &table);
