#pragma once

#include "analysis/formantspace.h"
#include "batch/analysisinput.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What overlap and outliers share: --by, --formants, --scale or --normalize, and the
// input read into the tokens' groups and their formants in use.

// The options these commands take beside the shared ones.
QStringList groupedSpaceOptions();
// The usage text of those options.
QString groupedSpaceUsage();

struct GroupedSpace
{
    FormantSpace space;
    std::vector<int> group; // per token; -1: left out
    QStringList groupNames;
};

// Opens the input named by `arguments` into `input` and computes the space. nullopt with
// the message on standard error (`usage` for a usage error) and `status` set (1: the
// work failed, 2: usage) when it cannot.
std::optional<GroupedSpace> openGroupedSpace(AnalysisInput &input,
                                             const AnalysisArguments &arguments,
                                             const QString &command, const QString &usage,
                                             int &status);
