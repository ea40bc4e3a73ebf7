#pragma once

#include "document/formantrecord.h"
#include "framework/fileerror.h"

#include <span>
#include <string_view>

// Reads the Formant file format into records. Never shows anything: the caller turns the
// result into messages.
struct FormantReadResult
{
    enum class Status { Ok, OpenFailed, ZeroLength, TooLong, ReadFailed };

    Status status = Status::Ok;
    int tokenCount = 0;
    FileError error; // for OpenFailed and ReadFailed
};

// Parses the whole text into `records`, which must be empty records on entry. Every CR and
// every LF ends a line; a last line without a line end is read too. On TooLong the
// records are emptied again, so nothing partly read remains.
FormantReadResult ParseFormantText(std::string_view text, std::span<FormantRecord> records);

// Parses one line (at most FormantLimits::kLineLength bytes are looked at) into `record`,
// which must be an empty record on entry and stays so when the line is no token line.
// Returns true when it is a token line (two or more formants).
bool ParseFormantLine(std::string_view line, FormantRecord &record);

// Reads the file at `path` into `records` (cleared first).
FormantReadResult ReadFormantFile(const QString &path, std::span<FormantRecord> records);
