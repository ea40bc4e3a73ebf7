#pragma once

#include "framework/fileerror.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

class TabularTable;

// One sub-command of tessavox-batch: `tessavox-batch NAME ARGS...`.
struct BatchCommand
{
    QString name;
    QString usage;   // e.g. "records FILE"
    QString summary; // one line for --help
    // Receives the arguments after the name; returns the process exit status:
    // 0 success, 1 the work failed (the message is on standard error), 2 usage error.
    std::function<int(const QStringList &args)> run;
    // Commands that draw need the GUI application; the others start without one, which
    // saves a tenth of a second per run.
    bool draws = true;
    // Further lines for --help: the options' values and the formulas they name.
    QString details{};
};

// Every command the tool offers, sorted by name.
const std::vector<BatchCommand> &batchCommands();

// Each command's file adds itself with one static registrar:
//     static const BatchCommandRegistrar registrar{{"records", "records FILE", "...", run}};
struct BatchCommandRegistrar
{
    explicit BatchCommandRegistrar(BatchCommand command);
};

// Shared helpers for commands.
QTextStream &batchOut();
QTextStream &batchErr();
// "tessavox-batch: WHY" (when given) and the usage on standard error; returns 2.
int batchUsageError(const QString &usage, const QString &why = {});
// "tessavox-batch COMMAND: cannot write PATH: reason" on standard error; returns 1.
int batchWriteFailure(const QString &command, const FileError &error);
// Writes `bytes` to standard output, or safely to `path` (a temporary file renamed into
// place). False with the message on standard error.
bool writeAnalysisOutput(const QString &path, const QByteArray &bytes, const QString &command);
// Writes `table` as plain UTF-8 TSV, whatever layout it was read in (a spreadsheet's "sep="
// line would name the wrong separator), as writeAnalysisOutput does. Changes its format.
bool writeTableOutput(const QString &path, TabularTable &table, const QString &command);
// "tessavox-batch COMMAND: TEXT" on standard error.
void reportAnalysis(const QString &command, const QString &text);
