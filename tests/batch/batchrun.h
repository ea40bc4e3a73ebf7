#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// The built tessavox-batch run to its end, as a user runs it from a shell.
struct BatchRun
{
    // The program's exit code; -1 when it did not start, crashed or ran past its time.
    int exitCode = -1;
    QString out;
    QString err;
};

// A run that does not start, crashes or outlasts `timeoutMs` fails the calling test: its
// exit code would say nothing, and a crash must never pass for a refusal.
inline BatchRun runBatch(const QStringList &args, int timeoutMs = 120000,
                         const QString &workingDirectory = QString())
{
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(TESSAVOX_BATCH), args);
    BatchRun run;
    if (!process.waitForStarted()) {
        ADD_FAILURE() << "tessavox-batch did not start: " << process.errorString().toStdString();
        return run;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "tessavox-batch " << args.join(' ').toStdString() << " ran past "
                      << timeoutMs << " ms";
    } else if (process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "tessavox-batch " << args.join(' ').toStdString() << " crashed";
    } else {
        run.exitCode = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
