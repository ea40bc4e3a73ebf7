#include "batch/batchcommand.h"

#include <QTextStream>

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

int batchUsageError(const QString &usage)
{
    batchErr() << "usage: tessavox-batch " << usage << Qt::endl;
    return 2;
}

int batchWriteFailure(const QString &command, const FileError &error)
{
    batchErr() << "tessavox-batch " << command << ": cannot write " << error.path << ": "
               << error.reason() << Qt::endl;
    return 1;
}
