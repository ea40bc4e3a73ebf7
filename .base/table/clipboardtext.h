#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The grid's clipboard format: tab-separated text, one line per row, the form that
// spreadsheets and text editors exchange. A cell holding a tab, a line end or a leading
// double quote is written between double quotes with inner quotes doubled, as
// spreadsheets do, so that it reads back as one cell.
namespace ClipboardText {

QString write(const QList<QStringList> &rows);

// Accepts LF, CR LF and CR line ends; a final line end adds no row. A field that starts
// with a double quote but never closes it is taken literally.
QList<QStringList> read(const QString &text);

} // namespace ClipboardText
