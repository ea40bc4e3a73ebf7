#pragma once

#include "document/tabulartable.h"
#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads CSV and TSV files into a TabularTable, and Formant files into the same table type,
// so that every command treats both alike. Never shows anything: the caller turns the
// result's message into a report.

// Choices the user can make over the guess from the header.
struct TabularReadOptions
{
    QString vowelColumn;   // header name of the vowel column; empty = guess
    QString speakerColumn; // header name of the speaker column; empty = guess
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
    };

    Status status = Status::Ok;
    // One or two sentences for the user for every status but Ok, e.g. the header found
    // when the roles are missing.
    QString message;
    FileError error;
    TabularTable table; // complete when Ok, empty otherwise

    bool ok() const { return status == Status::Ok; }
};

// Parses the bytes of a whole tabular file (the table keeps a copy of them).
TabularReadResult ParseTabularText(const QByteArray &bytes, const TabularReadOptions &options = {});

// Reads the tabular file at `path`.
TabularReadResult ReadTabularFile(const QString &path, const TabularReadOptions &options = {});

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

// Reads `path` as `kind`, or as the kind its name gives when `kind` is nullopt.
TabularReadResult ReadTokenTable(const QString &path, std::optional<TabularFileKind> kind = {},
                                 const TabularReadOptions &options = {});
