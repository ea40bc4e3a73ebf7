#pragma once

#include "document/formantrecord.h"
#include "document/tabulartable.h"
#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

// Parses the bytes of CSV and TSV files (and tables saved under other names) into a
// TabularTable, and Formant files into the same table type, so that every command treats
// both alike. Files are opened through the loader (tokenfile.h), which uses these. Never
// shows anything: the caller turns the result's message into a report.

// Choices the user can make over the guess from the header: per role, the header name of
// its column (any case); empty = guess. A new role (a column of tokens to leave out, say)
// is one more TabularRole and one more entry here.
struct TabularReadOptions
{
    std::array<QString, kTabularRoleCount> columns;

    QString &column(TabularRole role) { return columns[std::size_t(role)]; }
    const QString &column(TabularRole role) const { return columns[std::size_t(role)]; }
};

struct TabularReadResult
{
    enum class Status {
        Ok,
        OpenFailed,    // `error` says why
        ReadFailed,    // `error` says why (also OutOfMemory while parsing)
        Empty,         // no header row
        TooLarge,      // more bytes than a table holds (2 GB)
        UnclosedQuote, // a quoted field runs to the end of the file
        TooRagged,     // rows so much longer or shorter than the header that they would
                       // fill the memory: a damaged file
        NoColumns,     // no F1, F2 and vowel column in the header
        UnknownColumn, // a column named in the options is not in the header
        TooLong,       // a Formant file with more token lines than the format allows
        GroupedNumber, // a formant written with grouped digits ("2.300"): `message` says
                       // where, rather than taking it for another number
    };

    Status status = Status::Ok;
    // One or two sentences for the user for every status but Ok, e.g. the header found
    // when the roles are missing.
    QString message;
    FileError error;
    TabularTable table; // complete when Ok, empty otherwise
    // What the user should know of a table that was read: duplicate header names, say.
    QStringList warnings;

    bool ok() const { return status == Status::Ok; }
};

// Parses the bytes of a whole tabular file (the table keeps a copy of them).
TabularReadResult ParseTabularText(const QByteArray &bytes, const TabularReadOptions &options = {});

// Parses a whole tabular file's bytes, which the table takes over.
TabularReadResult ParseTabularBuffer(TabularTable::Buffer &&bytes,
                                     const TabularReadOptions &options = {});

// How a file is read.
enum class TabularFileKind { Formant, Table };

// A table when the name ends in .csv or .tsv (any case); every other file is a Formant
// file, whatever its content looks like.
TabularFileKind TabularFileKindForPath(const QString &path);

// The kind named by the user ("formant" or "table"), or nullopt for any other word.
std::optional<TabularFileKind> ParseTabularFileKind(const QString &name);

// The token lines of a Formant file as a table: columns F1, F2, F3 (F4 and F5 when any
// token has them) and "vowel" holding the label; one speaker; written back as TSV. A zero
// formant (absent on the line) is missing. The options apply to that header.
TabularReadResult TabularFromFormantText(std::string_view text,
                                         const TabularReadOptions &options = {});
// The same table from token lines already read.
TabularReadResult TabularFromFormantRecords(std::span<const FormantRecord> tokens,
                                            const TabularReadOptions &options = {});

// Replaces UTF-16 text that begins with a byte-order mark by its UTF-8, and says which it
// was; other bytes are left alone (Utf8).
TabularFormat::Encoding DecodeUtf16(TabularTable::Buffer &bytes);

// Whether a file of any name holds a table: its first non-blank line (after a "sep=" line)
// names an F1 and an F2 column, and the next is no Formant record (numbers, then a quoted
// label). `text` is UTF-8 (see DecodeUtf16).
bool LooksLikeTable(std::string_view text);
