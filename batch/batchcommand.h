#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One sub-command of tessavox-batch: `tessavox-batch NAME ARGS...`.
struct BatchCommand
{
    QString name;
    QString usage;   // e.g. "records FILE"
    QString summary; // one line for --help
    // Receives the arguments after the name; returns the process exit status.
    std::function<int(const QStringList &args)> run;
};

// Every command the tool offers, in the order --help lists them.
const std::vector<BatchCommand> &batchCommands();
