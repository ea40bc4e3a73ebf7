#pragma once

#include "document/formantrecord.h"
#include "document/tabularreader.h"
#include "document/tabulartable.h"
#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

// The one way a file becomes tokens, for the program and every batch command alike: it
// decides whether the file is a Formant file or a table, decodes it, finds the columns'
// roles, reads the values by one missing-value rule, and returns the tokens with what the
// user should be told. It never shows anything; the program's windows and the batch tool
// present the message and the warnings.

// How to open a file. The defaults guess everything.
struct TokenFileOptions
{
    // Formant file or table; nullopt = by the name (.csv, .tsv) and then by the content.
    std::optional<TabularFileKind> kind;
    // Columns named by the user for a table's roles.
    TabularReadOptions columns;
};

struct TokenFile
{
    enum class Status {
        Ok,
        OpenFailed, // `error` says why
        ReadFailed, // `error` says why (out of memory too)
        ZeroLength, // a Formant file of no bytes
        TooLong,    // a Formant file with more token lines than the format allows
        Refused,    // a table that cannot be read as one; `message` says why and where
    };

    Status status = Status::Ok;
    QString message; // why, for Refused, ZeroLength and TooLong (report() covers them all)
    FileError error;
    // Warnings on a file that was read: values taken as missing, no speaker column, two
    // columns of one name.
    QStringList warnings;

    TabularFileKind kind = TabularFileKind::Formant;
    // The tokens as a table, whatever the file was: for a Formant file the columns F1, F2,
    // F3 (F4, F5 when any line has them) and vowel, a formant the line lacks left empty.
    TabularTable table;
    // A Formant file's token lines as read, FormantLimits::kRecords of them; empty for a
    // table.
    std::vector<FormantRecord> records;
    int tokenCount = 0; // token lines of a Formant file, rows of a table

    bool ok() const { return status == Status::Ok; }
    // The message, or for a file that could not be opened or read the report of why.
    QString report() const;
};

// Opens `path`.
TokenFile LoadTokenFile(const QString &path, const TokenFileOptions &options = {});
// Opens `path` as LoadTokenFile does, but reads a Formant file's token lines into
// `records`, FormantLimits::kRecords empty records, in place of the result's records and
// table: a document fills the records it already holds, and makes the table of them
// (TabularFromFormantRecords) only when asked for it. `records` stay empty when the file
// is a table or is not read.
TokenFile LoadTokenFileInto(const QString &path, const TokenFileOptions &options,
                            std::span<FormantRecord> records);
// Opens bytes as if read from a file named `name` (the name only decides the kind).
TokenFile LoadTokenText(const QByteArray &bytes, const QString &name,
                        const TokenFileOptions &options = {});
