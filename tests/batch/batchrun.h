#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The built tessavox-batch run to its end, as a user runs it from a shell.
struct BatchRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline BatchRun runBatch(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TESSAVOX_BATCH), args);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
