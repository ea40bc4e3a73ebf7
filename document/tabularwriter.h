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
    // The view stays valid until the next call.
    virtual std::string_view cell(int row, int column) const = 0;
    virtual bool cellQuoted(int row, int column) const = 0;
    virtual const TabularFormat &format() const = 0;
};

// The file's bytes: the header row, then one row per table row, every column. A cell is
// quoted (quotes doubled) when it was quoted in the file, when the layout quotes all, or
// when it holds the separator, a quote, a CR or an LF.
QByteArray FormatTabularText(const TabularTable &table);
// The same for any cells, as a buffer a TabularTable can take over (ParseTabularBuffer).
// Throws std::bad_alloc when there is no room.
TabularTable::Buffer FormatTabularCells(const TabularCells &cells);

// Writes the table to `path` through a temporary file that replaces the target only once
// it is complete on disk. Returns an error of kind None on success.
FileError WriteTabularFile(const QString &path, const TabularTable &table);
