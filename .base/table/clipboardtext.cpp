#include "table/clipboardtext.h"

namespace ClipboardText {

namespace {

QString quoted(const QString &cell)
{
    const bool needsQuotes = cell.startsWith(u'"') || cell.contains(u'\t') ||
                             cell.contains(u'\n') || cell.contains(u'\r');
    if (!needsQuotes)
        return cell;
    QString doubled = cell;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

// Reads the quoted field that starts at `pos` (on its opening quote). Returns false
// when the quote never closes before a tab or line end.
bool readQuoted(const QString &text, qsizetype &pos, QString &cell)
{
    QString value;
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        if (text[i] != u'"') {
            value += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'"') {
            value += u'"';
            ++i;
            continue;
        }
        const bool atEnd = i + 1 == text.size() || text[i + 1] == u'\t' || text[i + 1] == u'\n' ||
                           text[i + 1] == u'\r';
        if (!atEnd)
            return false;
        cell = value;
        pos = i + 1;
        return true;
    }
    return false;
}

} // namespace

QString write(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += u'\t';
            text += quoted(row[i]);
        }
        text += u'\n';
    }
    return text;
}

QList<QStringList> read(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype pos = 0;
    bool rowOpen = false;
    bool fieldStart = true;
    while (pos < text.size()) {
        rowOpen = true;
        if (fieldStart && text[pos] == u'"' && readQuoted(text, pos, cell)) {
            fieldStart = false;
            continue;
        }
        const QChar c = text[pos];
        fieldStart = c == u'\t' || c == u'\n' || c == u'\r';
        if (c == u'\t') {
            row.append(cell);
            cell.clear();
        } else if (c == u'\n' || c == u'\r') {
            row.append(cell);
            cell.clear();
            rows.append(row);
            row.clear();
            rowOpen = false;
            if (c == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
                ++pos;
        } else {
            cell += c;
        }
        ++pos;
    }
    if (rowOpen) {
        row.append(cell);
        rows.append(row);
    }
    return rows;
}

} // namespace ClipboardText
