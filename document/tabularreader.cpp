// The fields are split here rather than by a packaged CSV library. The packaged ones
// either call back per field with a copy in a buffer of their own (slower on a million
// rows before a single number is parsed, twice the memory, spaces stripped from fields by
// default, no word on which fields were quoted, so a table cannot be written back as it
// came, and the byte-order mark left in the first name), or fix the number of columns at
// compile time and split lines before quotes, so a line break inside a quoted field
// breaks the row. The splitter below keeps every cell as an offset into the file's bytes.

#include "document/tabularreader.h"

#include "document/formantreader.h"
#include "document/tabularbuilder.h"
#include "document/tabularroles.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Cell = TabularTable::Cell;
using Status = TabularReadResult::Status;

// Cells address the buffer with 32-bit offsets; unescaped copies may add as much again.
constexpr qsizetype kMaxBytes = (qsizetype(1) << 31) - 1;

TabularReadResult refusal(Status status, const QString &message)
{
    TabularReadResult result;
    result.status = status;
    result.message = message;
    return result;
}

// Tab, then semicolon, then comma, whichever the header row holds outside quoted fields;
// failing those, a space between quoted names (R's write.table writes `"vowel" "F1"`).
// A quote opens a field only at the start of the row or after one of those characters,
// as the splitter reads it; elsewhere it is an ordinary character.
char detectSeparator(std::string_view text)
{
    bool tab = false, semicolon = false, comma = false, spaceAfterQuote = false;
    bool fieldStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && fieldStart) {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
            }
            spaceAfterQuote |= i + 1 < text.size() && text[i + 1] == ' ';
            fieldStart = false;
            continue;
        }
        if (c == '\r' || c == '\n')
            break;
        tab |= c == '\t';
        semicolon |= c == ';';
        comma |= c == ',';
        fieldStart = c == '\t' || c == ';' || c == ',' || c == ' ';
    }
    if (tab || semicolon || comma)
        return tab ? '\t' : semicolon ? ';' : ',';
    // A header written back with an empty first name (R's row names) starts with the space.
    const std::size_t first = text.find_first_not_of(' ');
    return spaceAfterQuote && first != std::string_view::npos && text[first] == '"' ? ' ' : '\t';
}

std::size_t estimateRows(std::string_view text)
{
    const auto lineFeeds = std::count(text.begin(), text.end(), '\n');
    const auto ends = lineFeeds > 0 ? lineFeeds : std::count(text.begin(), text.end(), '\r');
    return std::size_t(ends) + 1;
}

// 1-based line of the byte at `offset`, counting a CR LF pair as one line end.
qsizetype lineOf(std::string_view text, std::size_t offset)
{
    qsizetype line = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    }
    return line;
}

Cell cellAt(std::size_t start, std::size_t end, bool quoted)
{
    return Cell{std::uint32_t(start), std::uint32_t(end - start), quoted ? 1u : 0u};
}

// Past the byte-order mark and the blank lines before the header, from `pos`.
std::size_t skipToHeader(std::string_view text, bool &byteOrderMark, std::size_t pos = 0)
{
    for (;;) {
        if (text.substr(pos).starts_with("\xEF\xBB\xBF")) {
            byteOrderMark = true;
            pos += 3;
        } else if (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n')) {
            ++pos;
        } else {
            return pos;
        }
    }
}

// The separator a spreadsheet's first line "sep=;" names, if the line is one.
std::optional<char> separatorLine(std::string_view text)
{
    if (text.size() < 5 || (text.substr(0, 4) != "sep=" && text.substr(0, 4) != "SEP="))
        return std::nullopt;
    const char named = text[4];
    if (named == '\r' || named == '\n' || named == '"')
        return std::nullopt;
    const std::string_view rest = text.substr(5);
    const std::size_t end = rest.find_first_of("\r\n");
    if (rest.substr(0, end).find_first_not_of(" ") != std::string_view::npos)
        return std::nullopt;
    return named;
}

TabularReadResult parseBytes(TabularTable::Buffer &&bytes, const TabularReadOptions &options,
                             TabularFormat::Encoding encoding)
{
    if (bytes.size() > std::size_t(kMaxBytes))
        return refusal(Status::TooLarge,
                       QStringLiteral("The file is larger than 2 GB, more than a table holds."));
    // Stays valid when the builder takes the buffer over: a move keeps the storage.
    const std::string_view text(bytes.data(), bytes.size());
    const std::size_t size = text.size();
    const char *data = text.data();

    TabularFormat format;
    format.encoding = encoding;
    std::size_t pos = skipToHeader(text, format.byteOrderMark);
    if (pos == size)
        return refusal(Status::Empty, QStringLiteral("The file has no header row."));
    const std::optional<char> named = separatorLine(text.substr(pos));
    if (named) {
        format.separatorLine = true;
        pos += text.substr(pos).find_first_of("\r\n") == std::string_view::npos
                   ? size - pos
                   : text.substr(pos).find_first_of("\r\n");
        pos = skipToHeader(text.substr(0, size), format.byteOrderMark, pos);
        if (pos == size)
            return refusal(Status::Empty, QStringLiteral("The file has no header row."));
    }
    const char separator = named.value_or(detectSeparator(text.substr(pos)));
    format.separator = separator;
    format.finalLineEnd = data[size - 1] == '\r' || data[size - 1] == '\n';

    TabularBuilder builder(std::move(bytes), estimateRows(text));
    // A decimal comma cannot be told from a separator in a comma file; elsewhere it can.
    builder.setDecimalComma(separator != ',');
    bool lineEndSeen = false;
    bool allQuoted = true;
    bool inRow = false;
    std::size_t rowStart = pos;
    std::string scratch; // reused for the few quoted fields that must be unescaped
    // One look-up per byte in the loop that runs over nearly every byte of the file.
    std::array<bool, 256> endsField{};
    for (char c : {separator, '\r', '\n'})
        endsField[static_cast<unsigned char>(c)] = true;

    while (pos < size) {
        const char first = data[pos];
        if (!inRow && (first == '\r' || first == '\n')) {
            // A blank line.
            pos += (first == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (!inRow)
            rowStart = pos;
        inRow = true;

        Cell cell;
        if (first == '"') {
            const std::size_t start = pos + 1;
            std::size_t close = start;
            bool doubled = false;
            for (;;) {
                const void *quote = std::memchr(data + close, '"', size - close);
                if (!quote)
                    return refusal(Status::UnclosedQuote,
                                   QStringLiteral("The quoted field that starts on line %1 is "
                                                  "never closed.")
                                       .arg(lineOf(text, pos)));
                close = std::size_t(static_cast<const char *>(quote) - data);
                if (close + 1 < size && data[close + 1] == '"') {
                    doubled = true;
                    close += 2;
                    continue;
                }
                break;
            }
            // Text after the closing quote up to the next separator stays part of the
            // field rather than being lost.
            std::size_t tail = close + 1;
            while (tail < size && data[tail] != separator && data[tail] != '\r' &&
                   data[tail] != '\n')
                ++tail;
            if (!doubled && tail == close + 1) {
                cell = cellAt(start, close, true);
            } else {
                scratch.clear();
                for (std::size_t i = start; i < close; ++i) {
                    scratch += data[i];
                    if (data[i] == '"')
                        ++i; // the second quote of a doubled pair
                }
                scratch.append(data + close + 1, tail - close - 1);
                cell = builder.storeCopy(scratch);
                cell.quoted = 1;
            }
            pos = tail;
        } else {
            const std::size_t start = pos;
            while (pos < size && !endsField[static_cast<unsigned char>(data[pos])])
                ++pos;
            cell = cellAt(start, pos, false);
            allQuoted = false;
        }
        builder.addField(cell);

        if (pos >= size) {
            builder.endRow();
            break;
        }
        const char end = data[pos];
        if (end == separator) {
            ++pos;
            if (pos == size) { // a separator as the file's last byte leaves an empty field
                builder.addField(cellAt(pos, pos, false));
                builder.endRow();
                allQuoted = false;
            }
            continue;
        }
        const bool crlf = end == '\r' && pos + 1 < size && data[pos + 1] == '\n';
        if (!lineEndSeen) {
            format.lineEnd = crlf          ? TabularFormat::LineEnd::CrLf
                             : end == '\r' ? TabularFormat::LineEnd::Cr
                                           : TabularFormat::LineEnd::Lf;
            lineEndSeen = true;
        }
        pos += crlf ? 2 : 1;
        builder.endRow();
        inRow = false;
        if (builder.tooRagged())
            break;
    }
    if (builder.tooRagged())
        return refusal(Status::TooRagged,
                       QStringLiteral("The row on line %1 differs so much in length from the "
                                      "header that the table would not fit in memory.")
                           .arg(lineOf(text, rowStart)));
    format.quoteAll = allQuoted;
    builder.setFormat(format);
    return builder.finish(options);
}

TabularReadResult parseBuffer(TabularTable::Buffer &&bytes, const TabularReadOptions &options)
{
    try {
        const TabularFormat::Encoding encoding = DecodeUtf16(bytes);
        return parseBytes(std::move(bytes), options, encoding);
    } catch (const std::bad_alloc &) {
    } catch (const std::length_error &) {
    }
    TabularReadResult result;
    result.status = Status::ReadFailed;
    result.error = {FileError::Kind::OutOfMemory, {}, {}};
    result.message = QStringLiteral("There is not enough memory to read the table.");
    return result;
}

} // namespace

TabularReadResult ParseTabularText(const QByteArray &bytes, const TabularReadOptions &options)
{
    TabularTable::Buffer copy(std::size_t(bytes.size()));
    if (!copy.empty())
        std::memcpy(copy.data(), bytes.constData(), copy.size());
    return parseBuffer(std::move(copy), options);
}

TabularReadResult ParseTabularBuffer(TabularTable::Buffer &&bytes,
                                     const TabularReadOptions &options)
{
    return parseBuffer(std::move(bytes), options);
}

TabularFileKind TabularFileKindForPath(const QString &path)
{
    const bool table = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
                       path.endsWith(QLatin1String(".tsv"), Qt::CaseInsensitive);
    return table ? TabularFileKind::Table : TabularFileKind::Formant;
}

std::optional<TabularFileKind> ParseTabularFileKind(const QString &name)
{
    if (name.compare(QLatin1String("table"), Qt::CaseInsensitive) == 0)
        return TabularFileKind::Table;
    if (name.compare(QLatin1String("formant"), Qt::CaseInsensitive) == 0)
        return TabularFileKind::Formant;
    return std::nullopt;
}

TabularReadResult TabularFromFormantText(std::string_view text, const TabularReadOptions &options)
{
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult read = ParseFormantText(text, records);
    if (read.status == FormantReadResult::Status::TooLong)
        return refusal(Status::TooLong, QStringLiteral("The file has more than %L1 token lines.")
                                            .arg(FormantLimits::kTokenLines));
    return TabularFromFormantRecords(std::span(records).first(std::size_t(read.tokenCount)),
                                     options);
}

TabularReadResult TabularFromFormantRecords(std::span<const FormantRecord> tokens,
                                            const TabularReadOptions &options)
{
    const bool hasF5 = std::any_of(tokens.begin(), tokens.end(),
                                   [](const FormantRecord &r) { return r.formants[4] != 0; });
    const bool hasF4 =
        hasF5 || std::any_of(tokens.begin(), tokens.end(),
                             [](const FormantRecord &r) { return r.formants[3] != 0; });
    const int formants = hasF5 ? 5 : hasF4 ? 4 : 3;

    TabularBuilder builder(TabularTable::Buffer(), tokens.size());
    for (const char *name : {"F1", "F2", "F3", "F4", "F5"}) {
        if (name[1] - '0' <= formants)
            builder.addField(builder.storeCopy(name));
    }
    builder.addField(builder.storeCopy("vowel"));
    builder.endRow();
    for (const FormantRecord &record : tokens) {
        for (int formant = 0; formant < formants; ++formant) {
            // Zero stands for a formant the line did not have.
            const std::int32_t value = record.formants[std::size_t(formant)];
            char digits[16];
            const char *end = std::to_chars(digits, digits + sizeof digits, value).ptr;
            builder.addField(value != 0 ? builder.storeCopy(std::string_view(digits, end - digits))
                                        : Cell{});
        }
        builder.addField(builder.storeCopy(
            std::string_view(record.label).substr(0, std::size_t(record.labelLength))));
        builder.endRow();
    }
    builder.setFormat(TabularFormat{});
    return builder.finish(options);
}

TabularFormat::Encoding DecodeUtf16(TabularTable::Buffer &bytes)
{
    if (bytes.size() < 2)
        return TabularFormat::Encoding::Utf8;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    TabularFormat::Encoding encoding;
    if (b0 == 0xFF && b1 == 0xFE)
        encoding = TabularFormat::Encoding::Utf16Le;
    else if (b0 == 0xFE && b1 == 0xFF)
        encoding = TabularFormat::Encoding::Utf16Be;
    else
        return TabularFormat::Encoding::Utf8;
    QStringDecoder decoder(encoding == TabularFormat::Encoding::Utf16Le ? QStringDecoder::Utf16LE
                                                                        : QStringDecoder::Utf16BE);
    const QString text = decoder(QByteArrayView(bytes.data() + 2, qsizetype(bytes.size()) - 2));
    const QByteArray utf8 = text.toUtf8();
    bytes.assign(utf8.begin(), utf8.end());
    return encoding;
}

bool LooksLikeTable(std::string_view text)
{
    bool byteOrderMark = false;
    std::size_t pos = skipToHeader(text, byteOrderMark);
    const std::optional<char> named = separatorLine(text.substr(pos));
    if (named)
        pos = skipToHeader(text, byteOrderMark,
                           std::min(text.size(), pos + text.substr(pos).find_first_of("\r\n")));
    const auto lineAt = [&text](std::size_t from) {
        const std::size_t end = text.find_first_of("\r\n", from);
        return text.substr(from, end == std::string_view::npos ? end : end - from);
    };
    const std::string_view header = lineAt(pos);
    const char separator = named.value_or(detectSeparator(header));
    bool f1 = false, f2 = false;
    for (std::size_t start = 0; start <= header.size();) {
        std::size_t end = header.find(separator, start);
        if (end == std::string_view::npos)
            end = header.size();
        std::string_view name = header.substr(start, end - start);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2);
        const std::optional<TabularPointColumn> point = ParseTabularPoint(name);
        f1 = f1 || TabularRoleRank(TabularRole::F1, name) || (point && point->formant == 1);
        f2 = f2 || TabularRoleRank(TabularRole::F2, name) || (point && point->formant == 2);
        start = end + 1;
    }
    if (!f1 || !f2)
        return false;
    // A header-like first line above Formant records (numbers, then a quoted label) is a
    // Formant file's comment.
    pos = skipToHeader(text, byteOrderMark, pos + header.size());
    const std::string_view next = lineAt(pos);
    const std::size_t quote = next.find('"');
    FormantRecord record;
    return quote == std::string_view::npos || !ParseFormantLine(next.substr(0, quote), record);
}
