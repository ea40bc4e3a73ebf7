#include "batch/batchcommand.h"

#include "document/tabulartable.h"
#include "document/tabularwriter.h"
#include "framework/safefile.h"

#include <QTextStream>

#include <cstdio>

#include <algorithm>

namespace {

std::vector<BatchCommand> &registry()
{
    static std::vector<BatchCommand> commands;
    return commands;
}

} // namespace

BatchCommandRegistrar::BatchCommandRegistrar(BatchCommand command)
{
    auto &commands = registry();
    commands.push_back(std::move(command));
    std::sort(commands.begin(), commands.end(),
              [](const BatchCommand &a, const BatchCommand &b) { return a.name < b.name; });
}

const std::vector<BatchCommand> &batchCommands()
{
    return registry();
}

QTextStream &batchOut()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &batchErr()
{
    static QTextStream stream(stderr);
    return stream;
}

int batchUsageError(const QString &usage, const QString &why)
{
    if (!why.isEmpty())
        batchErr() << "tessavox-batch: " << why << Qt::endl;
    batchErr() << "usage: tessavox-batch " << usage << Qt::endl;
    return 2;
}

int batchWriteFailure(const QString &command, const FileError &error)
{
    batchErr() << "tessavox-batch " << command << ": cannot write " << error.path << ": "
               << error.reason() << Qt::endl;
    return 1;
}

bool writeAnalysisOutput(const QString &path, const QByteArray &bytes, const QString &command)
{
    if (path.isEmpty()) {
        const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) ==
                                 std::size_t(bytes.size()) &&
                             std::fflush(stdout) == 0;
        if (!written)
            reportAnalysis(command, QStringLiteral("cannot write to standard output"));
        return written;
    }
    if (const FileError error = WriteFileSafely(path, bytes); error.isError()) {
        reportAnalysis(command, saveFailureReport(error));
        return false;
    }
    return true;
}

bool writeTableOutput(const QString &path, TabularTable &table, const QString &command)
{
    TabularFormat format = table.format();
    format.separator = '\t';
    format.separatorLine = false;
    format.encoding = TabularFormat::Encoding::Utf8;
    table.setFormat(format);
    if (path.isEmpty())
        return writeAnalysisOutput({}, FormatTabularText(table), command);
    if (const FileError error = WriteTabularFile(path, table); error.isError()) {
        reportAnalysis(command, saveFailureReport(error));
        return false;
    }
    return true;
}

void reportAnalysis(const QString &command, const QString &text)
{
    batchErr() << "tessavox-batch " << command << ": " << text << Qt::endl;
}
