#pragma once

#include "document/tabulartable.h"
#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>

// Writes a TabularTable back in the layout it was read in (separator, quoting, line ends,
// byte-order mark, header, every column in order). Never shows anything.

// The file's bytes: the header row, then one row per table row, every column. A cell is
// quoted (quotes doubled) when it was quoted in the file, when the layout quotes all, or
// when it holds the separator, a quote, a CR or an LF.
QByteArray FormatTabularText(const TabularTable &table);

// Writes the table to `path` through a temporary file that replaces the target only once
// it is complete on disk. Returns an error of kind None on success.
FileError WriteTabularFile(const QString &path, const TabularTable &table);
