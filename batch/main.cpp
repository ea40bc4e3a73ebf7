// tessavox-batch: the program's documents, tables and charts driven without a window.

#include "batch/batchcommand.h"
#include "batch/batchhelp.h"
#include "framework/messages.h"

#include <QGuiApplication>
#include <QTextStream>

#include <memory>

namespace {

// Only real failures reach standard error: the headless platform's notices would be
// mistaken for the program's messages.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        QTextStream(stderr) << message << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    // Charts are drawn by the same renderer as in the program, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TESSAVOX_DEBUG"))
        qInstallMessageHandler(quietQtMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tessavox"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QGuiApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        printBatchHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == "--version") {
        out << "tessavox-batch " << TESSAVOX_VERSION << Qt::endl;
        return 0;
    }

    Messages::Sink sink;
    sink.message = [&err](const QString &text) { err << text << Qt::endl; };
    sink.beep = [] {};
    sink.question = [](const QString &) { return Messages::Answer::No; };
    Messages::setSink(sink);

    const QString name = args.takeFirst();
    for (const BatchCommand &command : batchCommands()) {
        if (command.name == name)
            return command.run(args);
    }
    err << "tessavox-batch: unknown command \"" << name << "\"\n";
    printBatchHelp(err);
    return 2;
}
