#pragma once

#include "analysis/formantspace.h"
#include "analysis/tokencolumns.h"
#include "batch/batchinput.h"
#include "document/tokenfile.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CommandLine;

// What overlap and outliers share: FILE, -o, the reading options, --by, --formants,
// --scale or --normalize, and the input read into the tokens' groups and their formants in
// use.

struct GroupedSpaceArguments
{
    QString input;
    QString output; // empty: standard output
    TokenFileOptions open;
    QString by; // empty: the speakers
    std::optional<std::vector<Formant>> formants;
    std::optional<FrequencyScale> scale;
    std::optional<NormalizationMethod> method;
};

// Declares the shared options on `line`, bound to `arguments`.
void declareGroupedSpace(CommandLine &line, GroupedSpaceArguments &arguments);
// The usage text of --by, --formants, --scale and --normalize.
QString groupedSpaceUsage();

struct GroupedSpace
{
    std::unique_ptr<BatchInput> file;
    TokenColumns tokens;
    FormantSpace space;
    std::vector<int> group; // per token; -1: left out
    QStringList groupNames;
};

// Opens the input and computes the space. nullopt with the message on standard error
// (`usage` for a usage error) and `status` set (1: the work failed, 2: usage) when it
// cannot.
std::optional<GroupedSpace> openGroupedSpace(const GroupedSpaceArguments &arguments,
                                             const QString &command, const QString &usage,
                                             int &status);
