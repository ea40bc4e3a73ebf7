#include "document/tabularwriter.h"

#include "document/formantwriter.h"

#include <QIODevice>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <type_traits>

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

// Bytes passed on to a device in blocks of a megabyte, so that a large table is written
// without its whole file in memory.
class DeviceBlocks
{
public:
    explicit DeviceBlocks(QIODevice *device = nullptr) : m_device(device) {}
    void reserve(std::size_t) { m_block.resize(kBlock); }
    void append(const char *data, qsizetype size)
    {
        while (size > 0) {
            const qsizetype part = std::min(size, kBlock - m_used);
            std::memcpy(m_block.data() + m_used, data, std::size_t(part));
            m_used += part;
            data += part;
            size -= part;
            if (m_used == kBlock)
                flush();
        }
    }
    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    static constexpr qsizetype kBlock = 1 << 20;
    void flush()
    {
        m_ok = m_ok && m_device && m_device->write(m_block.constData(), m_used) == m_used;
        m_used = 0;
    }

    QIODevice *m_device; // not owned
    QByteArray m_block;
    qsizetype m_used = 0;
    bool m_ok = true;
};

// Writes the rows in one pass over the cells, into room reserved from the cells' own
// estimate (a cell may cost some work to find, as the rows of a document do).
template <class Bytes> class RowWriter
{
public:
    explicit RowWriter(const TabularCells &table)
        : m_table(table), m_format(table.format()), m_lineEnd(lineEndOf(m_format.lineEnd))
    {
        m_special.fill(false);
        for (char c : {'"', '\r', '\n', m_format.separator})
            m_special[static_cast<unsigned char>(c)] = true;
    }

    RowWriter(const TabularCells &table, Bytes &&out) : RowWriter(table) { m_out = std::move(out); }

    Bytes bytes()
    {
        m_out.reserve(std::size_t(m_table.sizeHint()));
        writeAll();
        return std::move(m_out);
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
            for (int column = 0; column < columns; ++column) {
                bool quoted = false;
                const std::string_view text = m_table.cell(row, column, quoted);
                field(column, text, quoted);
            }
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
        if constexpr (!std::is_same_v<Bytes, TabularTable::Buffer>)
            m_out.append(text.data(), qsizetype(text.size()));
        else
            m_out.insert(m_out.end(), text.begin(), text.end());
    }

    const TabularCells &m_table;
    const TabularFormat &m_format;
    const std::string_view m_lineEnd;
    std::array<bool, 256> m_special{};
    Bytes m_out;
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
    std::string_view cell(int row, int column, bool &quoted) const override
    {
        quoted = m_table.cellQuoted(row, column);
        return m_table.cell(row, column);
    }
    const TabularFormat &format() const override { return m_table.format(); }
    std::size_t sizeHint() const override
    {
        return m_table.textBytes() + std::size_t(m_table.rowCount()) * 2 + 1024;
    }

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
    QByteArray bytes = RowWriter<QByteArray>(TableCells(table)).bytes();
    const TabularFormat::Encoding encoding = table.format().encoding;
    return encoding == TabularFormat::Encoding::Utf8 ? bytes : toUtf16(bytes, encoding);
}

FileError WriteTabularCells(const QString &path, const TabularCells &cells)
{
    const TabularFormat::Encoding encoding = cells.format().encoding;
    if (encoding != TabularFormat::Encoding::Utf8) {
        // UTF-16 is made from the whole text at once (a spreadsheet's small export).
        const TabularTable::Buffer utf8 = RowWriter<TabularTable::Buffer>(cells).bytes();
        return WriteFileSafely(
            path, toUtf16(QByteArray::fromRawData(utf8.data(), qsizetype(utf8.size())), encoding));
    }
    return WriteFileSafely(path, [&cells](QIODevice &device) {
        return RowWriter<DeviceBlocks>(cells, DeviceBlocks(&device)).bytes().finish();
    });
}

FileError WriteTabularFile(const QString &path, const TabularTable &table)
{
    return WriteFileSafely(path, FormatTabularText(table));
}
