#include "document/tabularwriter.h"

#include "document/formantwriter.h"

#include <string_view>

namespace {

std::string_view lineEndOf(TabularFormat::LineEnd lineEnd)
{
    switch (lineEnd) {
    case TabularFormat::LineEnd::CrLf:
        return "\r\n";
    case TabularFormat::LineEnd::Cr:
        return "\r";
    case TabularFormat::LineEnd::Lf:
        break;
    }
    return "\n";
}

void appendView(QByteArray &out, std::string_view text)
{
    out.append(text.data(), qsizetype(text.size()));
}

void appendField(QByteArray &out, std::string_view text, bool quote, char separator)
{
    quote = quote || text.find_first_of(std::string_view{"\"\r\n", 3}) != std::string_view::npos ||
            text.find(separator) != std::string_view::npos;
    if (!quote) {
        appendView(out, text);
        return;
    }
    out += '"';
    for (std::size_t start = 0;;) {
        const std::size_t quote = text.find('"', start);
        if (quote == std::string_view::npos) {
            appendView(out, text.substr(start));
            break;
        }
        appendView(out, text.substr(start, quote + 1 - start));
        out += '"';
        start = quote + 1;
    }
    out += '"';
}

} // namespace

QByteArray FormatTabularText(const TabularTable &table)
{
    const TabularFormat &format = table.format();
    const std::string_view lineEnd = lineEndOf(format.lineEnd);
    const int columns = table.columnCount();
    // A one-column row with an empty cell would be an empty line, which a reader skips:
    // quoting it keeps the row.
    const auto quoteEmpty = [columns](std::string_view text) {
        return columns == 1 && text.empty();
    };

    QByteArray out;
    // Cells are mostly short numbers and labels; a rough size spares most regrowth.
    out.reserve((qsizetype(table.rowCount()) + 1) * columns * 8);
    if (format.byteOrderMark)
        out.append("\xEF\xBB\xBF");

    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            out += format.separator;
        const std::string_view name = table.header(column);
        appendField(out, name, format.quoteAll || table.headerQuoted(column) || quoteEmpty(name),
                    format.separator);
    }
    for (int row = 0; row < table.rowCount(); ++row) {
        appendView(out, lineEnd);
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                out += format.separator;
            const std::string_view text = table.cell(row, column);
            appendField(out, text,
                        format.quoteAll || table.cellQuoted(row, column) || quoteEmpty(text),
                        format.separator);
        }
    }
    if (format.finalLineEnd)
        appendView(out, lineEnd);
    return out;
}

FileError WriteTabularFile(const QString &path, const TabularTable &table)
{
    return WriteFileSafely(path, FormatTabularText(table));
}
