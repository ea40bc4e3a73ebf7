#pragma once

#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>

class CellSource;

// Writes the token table back as a Formant file. Never shows anything: the document turns
// a failure into the save report.

// The file's bytes for rows 0 to rowCount - 1 of `table`, in the table's order: per row
// F1, F2 and F3 in decimal, then the Symbol text between double quotes (UTF-8), each item
// followed by a tab, and CR LF. No heading, no Order column, no F4 or F5; no rows give no
// bytes. A cell that cannot be read throws, as the table does.
QByteArray FormatFormantText(const CellSource &table, int rowCount);

// Puts `bytes` at `path` through a temporary file in the same folder that replaces the
// target only once it is completely on disk, so a failed save leaves any previous file
// as it was and no partial file behind. Returns an error of kind None on success.
FileError WriteFileSafely(const QString &path, const QByteArray &bytes);
