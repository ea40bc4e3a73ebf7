#include "formantreader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
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
    std::copy(label.begin(), label.end(), record.label.begin());
    if (quoted)
        record.label[label.size()] = '"';
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
    line = line.substr(0, std::min<std::size_t>(line.size(), FormantLimits::kLineLength));
    int count = 0;
    int runLength = 0;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
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
            readLabel(line.substr(i), record);
            break;
        }
        runLength = 0;
        value = 0;
    }
    if (count >= 2)
        return true;
    record = FormantRecord{};
    return false;
}

FormantReadResult ParseFormantText(std::string_view text, std::span<FormantRecord> records)
{
    FormantReadResult result;
    const std::size_t capacity = std::min<std::size_t>(records.size(), FormantLimits::kRecords);
    int tokens = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > start && std::size_t(tokens) < capacity &&
            ParseFormantLine(text.substr(start, i - start), records[tokens])) {
            ++tokens;
            if (tokens > FormantLimits::kTokenLines || std::size_t(tokens) >= capacity) {
                std::fill(records.begin(), records.begin() + tokens, FormantRecord{});
                result.status = FormantReadResult::Status::TooLong;
                return result;
            }
        }
        start = i + 1;
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
