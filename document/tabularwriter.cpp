#include "document/tabularwriter.h"

#include "document/formantwriter.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>
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

// Writes the rows in two passes over the cells: the first decides each field's quoting
// and so the exact size, the second copies, so that the output is allocated once.
class RowWriter
{
public:
    explicit RowWriter(const TabularCells &table)
        : m_table(table), m_format(table.format()), m_lineEnd(lineEndOf(m_format.lineEnd))
    {
        m_special.fill(false);
        for (char c : {'"', '\r', '\n', m_format.separator})
            m_special[static_cast<unsigned char>(c)] = true;
    }

    // Into a QByteArray or a table's buffer.
    template <class Bytes> Bytes bytes()
    {
        m_out = nullptr;
        m_size = 0;
        writeAll();
        Bytes out;
        out.resize(m_size);
        m_out = out.data();
        m_size = 0;
        writeAll();
        return out;
    }

private:
    void writeAll()
    {
        if (m_format.byteOrderMark)
            put("\xEF\xBB\xBF");
        if (m_format.separatorLine) {
            put("sep=");
            put(std::string_view(&m_format.separator, 1));
            put(m_lineEnd);
        }
        const int columns = m_table.columnCount();
        for (int column = 0; column < columns; ++column)
            field(column, m_table.header(column), m_table.headerQuoted(column), true);
        for (int row = 0; row < m_table.rowCount(); ++row) {
            put(m_lineEnd);
            for (int column = 0; column < columns; ++column)
                field(column, m_table.cell(row, column), m_table.cellQuoted(row, column));
        }
        if (m_format.finalLineEnd)
            put(m_lineEnd);
    }

    void field(int column, std::string_view text, bool quoted, bool header = false)
    {
        if (column > 0)
            put(std::string_view(&m_format.separator, 1));
        // A one-column row with an empty cell would be an empty line, which a reader
        // skips: quoting it keeps the row.
        // The reader finds the separator in the header row, outside quotes: a header name
        // holding another separator character is quoted, or it would be taken for one.
        const bool quote =
            quoted || m_format.quoteAll || (text.empty() && m_table.columnCount() == 1) ||
            std::any_of(text.begin(), text.end(),
                        [this](char c) { return m_special[static_cast<unsigned char>(c)]; }) ||
            (header && text.find_first_of("\t;,") != std::string_view::npos);
        if (!quote) {
            put(text);
            return;
        }
        put("\"");
        for (std::size_t start = 0;;) {
            const std::size_t mark = text.find('"', start);
            if (mark == std::string_view::npos) {
                put(text.substr(start));
                break;
            }
            put(text.substr(start, mark + 1 - start));
            put("\"");
            start = mark + 1;
        }
        put("\"");
    }

    void put(std::string_view text)
    {
        if (m_out && !text.empty())
            std::memcpy(m_out + m_size, text.data(), text.size());
        m_size += text.size();
    }

    const TabularCells &m_table;
    const TabularFormat &m_format;
    const std::string_view m_lineEnd;
    std::array<bool, 256> m_special{};
    char *m_out = nullptr; // null in the measuring pass
    std::size_t m_size = 0;
};

// A TabularTable as the writer reads it.
class TableCells final : public TabularCells
{
public:
    explicit TableCells(const TabularTable &table) : m_table(table) {}
    int rowCount() const override { return m_table.rowCount(); }
    int columnCount() const override { return m_table.columnCount(); }
    std::string_view header(int column) const override { return m_table.header(column); }
    bool headerQuoted(int column) const override { return m_table.headerQuoted(column); }
    std::string_view cell(int row, int column) const override { return m_table.cell(row, column); }
    bool cellQuoted(int row, int column) const override { return m_table.cellQuoted(row, column); }
    const TabularFormat &format() const override { return m_table.format(); }

private:
    const TabularTable &m_table;
};

// Back in the UTF-16 the file came in, with its byte-order mark.
QByteArray toUtf16(const QByteArray &utf8, TabularFormat::Encoding encoding)
{
    QStringEncoder encoder(encoding == TabularFormat::Encoding::Utf16Le ? QStringEncoder::Utf16LE
                                                                        : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::WriteBom);
    return encoder(QString::fromUtf8(utf8));
}

} // namespace

QByteArray FormatTabularText(const TabularTable &table)
{
    QByteArray bytes = RowWriter(TableCells(table)).bytes<QByteArray>();
    const TabularFormat::Encoding encoding = table.format().encoding;
    return encoding == TabularFormat::Encoding::Utf8 ? bytes : toUtf16(bytes, encoding);
}

TabularTable::Buffer FormatTabularCells(const TabularCells &cells)
{
    TabularTable::Buffer bytes = RowWriter(cells).bytes<TabularTable::Buffer>();
    const TabularFormat::Encoding encoding = cells.format().encoding;
    if (encoding == TabularFormat::Encoding::Utf8)
        return bytes;
    const QByteArray utf16 =
        toUtf16(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())), encoding);
    return TabularTable::Buffer(utf16.begin(), utf16.end());
}

FileError WriteTabularFile(const QString &path, const TabularTable &table)
{
    return WriteFileSafely(path, FormatTabularText(table));
}
