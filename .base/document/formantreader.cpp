#include "document/formantreader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr std::int64_t kMaxFormantValue = INT32_MAX;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes in the UTF-8 sequence that `lead` starts; 1 for a byte that starts none.
int utf8SequenceLength(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 1;
}

// The longest prefix of `text` of at most `limit` bytes that does not split a character.
std::string_view cutAtCharacterBoundary(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t cut = limit;
    // A character is at most four bytes; more continuation bytes than that are not text.
    for (int step = 0; step < 3 && cut > 0 && isContinuationByte(text[cut]); ++step)
        --cut;
    if (isContinuationByte(text[cut]))
        cut = limit;
    return text.substr(0, cut);
}

void storeLabel(FormantRecord &record, std::string_view label, bool quoted)
{
    record.label.assign(label);
    if (quoted)
        record.label.push_back('"');
    record.labelLength = static_cast<std::int32_t>(label.size());
}

// The label found from the label point at the start of `rest`.
void readLabel(std::string_view rest, FormantRecord &record)
{
    const std::size_t open = rest.find('"');
    if (open != std::string_view::npos) {
        const std::size_t close = rest.find('"', open + 1);
        if (close != std::string_view::npos) {
            const std::string_view inner = rest.substr(open + 1, close - open - 1);
            storeLabel(record, cutAtCharacterBoundary(inner, FormantLimits::kLabelBytes), true);
        }
        return;
    }
    const std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return;
    // One character: a whole UTF-8 sequence where the bytes form one.
    const int wanted = utf8SequenceLength(rest[first]);
    std::size_t length = 1;
    while (int(length) < wanted && first + length < rest.size() &&
           isContinuationByte(rest[first + length]))
        ++length;
    storeLabel(record, rest.substr(first, length), false);
}

} // namespace

bool ParseFormantLine(std::string_view line, FormantRecord &record)
{
    const char *const begin = line.data();
    const char *const end = begin + std::min<std::size_t>(line.size(), FormantLimits::kLineLength);
    int count = 0;
    int runLength = 0;
    std::int64_t value = 0;
    for (const char *p = begin; p != end; ++p) {
        const char c = *p;
        if (isDigit(c)) {
            ++runLength;
            value = std::min(value * 10 + (c - '0'), kMaxFormantValue);
            continue;
        }
        if (runLength >= 3) {
            if (count < FormantLimits::kFormants)
                record.formants[count] = static_cast<std::int32_t>(value);
            ++count;
        } else if (count >= 2) {
            readLabel(std::string_view(p, std::size_t(end - p)), record);
            break;
        }
        runLength = 0;
        value = 0;
    }
    if (count >= 2)
        return true;
    // Only a first formant can have been stored; most skipped lines store nothing.
    if (count > 0)
        record = FormantRecord{};
    return false;
}

namespace {

// Where the next CR and the next LF are, each found by memchr only when passed, so the
// text is scanned once for each at memory speed.
class LineEnds
{
public:
    explicit LineEnds(std::string_view text)
        : m_end(text.data() + text.size()), m_cr(find(text.data(), '\r')),
          m_lf(find(text.data(), '\n'))
    {}

    // The end of the line that starts at `from`: its CR or LF, or the end of the text.
    const char *after(const char *from)
    {
        if (m_cr < from)
            m_cr = find(from, '\r');
        if (m_lf < from)
            m_lf = find(from, '\n');
        return std::min(m_cr, m_lf);
    }

private:
    const char *find(const char *from, char c) const
    {
        if (from == m_end) // memchr wants a real pointer even for no bytes
            return m_end;
        const void *hit = std::memchr(from, c, std::size_t(m_end - from));
        return hit ? static_cast<const char *>(hit) : m_end;
    }

    const char *m_end;
    const char *m_cr;
    const char *m_lf;
};

} // namespace

FormantReadResult ParseFormantText(std::string_view text, std::span<FormantRecord> records)
{
    FormantReadResult result;
    const std::size_t capacity = std::min<std::size_t>(records.size(), FormantLimits::kRecords);
    int tokens = 0;
    LineEnds lineEnds(text);
    const char *const end = text.data() + text.size();
    for (const char *start = text.data();; ++start) {
        const char *const stop = lineEnds.after(start);
        if (stop > start && std::size_t(tokens) < capacity &&
            ParseFormantLine(std::string_view(start, std::size_t(stop - start)), records[tokens])) {
            ++tokens;
            if (tokens > FormantLimits::kTokenLines || std::size_t(tokens) >= capacity) {
                std::fill(records.begin(), records.begin() + tokens, FormantRecord{});
                result.status = FormantReadResult::Status::TooLong;
                return result;
            }
        }
        if (stop == end)
            break;
        start = stop;
    }
    result.tokenCount = tokens;
    return result;
}

FormantReadResult ReadFormantFile(const QString &path, std::span<FormantRecord> records)
{
    FormantReadResult result;
    QFile file(path);
    // Only regular files: opening a named pipe would wait for a writer forever, and a
    // device has no length to read.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        result.status = FormantReadResult::Status::OpenFailed;
        result.error = FileError::forRead(path, &file);
        return result;
    }
    const qint64 size = file.size();
    if (size == 0) {
        result.status = FormantReadResult::Status::ZeroLength;
        return result;
    }
    std::fill(records.begin(), records.end(), FormantRecord{});

    QByteArray buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc &) {
        result.status = FormantReadResult::Status::ReadFailed;
        result.error = {FileError::Kind::OutOfMemory, path, {}};
        return result;
    }
    if (file.read(buffer.data(), size) != size) {
        result.status = FormantReadResult::Status::ReadFailed;
        result.error = {FileError::Kind::ReadFailed, path, file.errorString()};
        return result;
    }
    return ParseFormantText(std::string_view(buffer.constData(), std::size_t(size)), records);
}
