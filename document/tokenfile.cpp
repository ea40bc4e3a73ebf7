#include "document/tokenfile.h"

#include "document/formantreader.h"
#include "framework/stringtable.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>
#include <span>

namespace {

using Status = TokenFile::Status;

// Cells address a table's text with 32-bit offsets.
constexpr qint64 kMaxBytes = (qint64(1) << 31) - 1;

TabularFileKind kindOf(const QString &name, std::string_view text,
                       const std::optional<TabularFileKind> &chosen)
{
    if (chosen)
        return *chosen;
    if (TabularFileKindForPath(name) == TabularFileKind::Table)
        return TabularFileKind::Table;
    // Tables saved as .txt by spreadsheets, R and phonetics programs are common; a file
    // whose first line names F1 and F2 above something other than Formant records is one.
    TabularTable::Buffer copy;
    if (text.size() >= 2 && (text[0] == '\xFF' || text[0] == '\xFE')) {
        // UTF-16 is told by its first kilobytes, decoded.
        const std::string_view head = text.substr(0, 64 * 1024 & ~std::size_t(1));
        copy.assign(head.begin(), head.end());
        DecodeUtf16(copy);
        text = std::string_view(copy.data(), copy.size());
    }
    return LooksLikeTable(text) ? TabularFileKind::Table : TabularFileKind::Formant;
}

// Reads the token lines into `into` when given (a document's own empty records), and
// makes no table of them then; else into the file's records, with the table.
void readFormant(std::string_view text, TokenFile &file, std::span<FormantRecord> into)
{
    if (text.empty()) {
        file.status = Status::ZeroLength;
        file.message = LoadString(IDS_ERR_ZERO_LENGTH);
        return;
    }
    const bool own = into.empty();
    if (own) {
        file.records.assign(FormantLimits::kRecords, FormantRecord{});
        into = file.records;
    }
    const FormantReadResult read = ParseFormantText(text, into);
    if (read.status == FormantReadResult::Status::TooLong) {
        file.status = Status::TooLong;
        file.message = LoadString(IDS_ERR_TOO_LONG);
        file.records.clear();
        return;
    }
    file.tokenCount = read.tokenCount;
    if (!own)
        return;
    // The lines just read make the table: the text is not parsed a second time.
    TabularReadResult table = TabularFromFormantRecords(
        std::span<const FormantRecord>(file.records).first(std::size_t(read.tokenCount)));
    file.table = std::move(table.table);
}

void readTable(TabularTable::Buffer &&bytes, const TokenFileOptions &options, TokenFile &file)
{
    TabularReadResult read = ParseTabularBuffer(std::move(bytes), options.columns);
    if (!read.ok()) {
        file.status = read.error.isError() ? Status::ReadFailed : Status::Refused;
        file.error = read.error;
        file.message = read.message;
        return;
    }
    file.table = std::move(read.table);
    file.tokenCount = file.table.rowCount();
    file.warnings << read.warnings;
    const TabularTable &table = file.table;
    int missing = 0;
    for (int formant = 1; formant <= 3; ++formant)
        missing += table.missingCount(formant);
    if (missing > 0)
        file.warnings << QStringLiteral(
                             "%L1 %2 of F1, F2 or F3 %3 missing (empty, NA, --undefined--, not a "
                             "number, 0 or less, or above %L4 Hz): the tokens are kept, and "
                             "what needs the value skips them.")
                             .arg(missing)
                             .arg(missing == 1 ? QStringLiteral("value") : QStringLiteral("values"))
                             .arg(missing == 1 ? QStringLiteral("is") : QStringLiteral("are"))
                             .arg(kMaxFormant);
    if (table.speakerColumn() < 0)
        file.warnings << QStringLiteral(
            "No speaker column was found, so the file is taken as one speaker. Name the column "
            "speaker, talker, subject, participant or spk (also with id, name or code after it, "
            "as speaker_id), or choose it (--speaker COL in the batch tool).");
}

void readBytes(TabularTable::Buffer &&bytes, const QString &name, const TokenFileOptions &options,
               TokenFile &file, std::span<FormantRecord> into = {})
{
    const std::string_view text(bytes.data(), bytes.size());
    file.kind = kindOf(name, text, options.kind);
    if (file.kind == TabularFileKind::Formant)
        readFormant(text, file, into);
    else
        readTable(std::move(bytes), options, file);
}

TokenFile loadFile(const QString &path, const TokenFileOptions &options,
                   std::span<FormantRecord> into)
{
    TokenFile file;
    QFile in(path);
    // Only regular files: a named pipe would wait for a writer forever.
    if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly)) {
        file.status = Status::OpenFailed;
        file.error = FileError::forRead(path, &in);
        return file;
    }
    const qint64 size = in.size();
    if (size > kMaxBytes) {
        file.status = Status::Refused;
        file.message = QStringLiteral("The file is larger than 2 GB, more than a table holds.");
        return file;
    }
    try {
        TabularTable::Buffer bytes(std::size_t(size), '\0');
        if (in.read(bytes.data(), size) != size) {
            file.status = Status::ReadFailed;
            file.error = {FileError::Kind::ReadFailed, path, in.errorString()};
            return file;
        }
        readBytes(std::move(bytes), path, options, file, into);
    } catch (const std::bad_alloc &) {
        // Lines read before memory ran out are not kept.
        std::fill(into.begin(), into.end(), FormantRecord{});
        file = TokenFile();
        file.status = Status::ReadFailed;
        file.error = {FileError::Kind::OutOfMemory, path, {}};
    }
    return file;
}

} // namespace

QString TokenFile::report() const
{
    if ((status == Status::OpenFailed || status == Status::ReadFailed) && error.isError())
        return openFailureReport(error);
    return message;
}

TokenFile LoadTokenFile(const QString &path, const TokenFileOptions &options)
{
    return loadFile(path, options, {});
}

TokenFile LoadTokenFileInto(const QString &path, const TokenFileOptions &options,
                            std::span<FormantRecord> records)
{
    return loadFile(path, options, records);
}

TokenFile LoadTokenText(const QByteArray &bytes, const QString &name,
                        const TokenFileOptions &options)
{
    TokenFile file;
    try {
        TabularTable::Buffer copy(std::size_t(bytes.size()));
        if (!copy.empty())
            std::memcpy(copy.data(), bytes.constData(), copy.size());
        readBytes(std::move(copy), name, options, file);
    } catch (const std::bad_alloc &) {
        file = TokenFile();
        file.status = Status::ReadFailed;
        file.error = {FileError::Kind::OutOfMemory, name, {}};
    }
    return file;
}
