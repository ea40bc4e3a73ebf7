// tessavox-batch: the program's documents, tables and charts driven without a window.

#include "batch/batchcommand.h"
#include "framework/messages.h"

#include <QApplication>
#include <QTextStream>

namespace {

void printHelp(QTextStream &stream)
{
    stream << "usage: tessavox-batch COMMAND ARGS...\n\ncommands:\n";
    for (const BatchCommand &command : batchCommands())
        stream << "  " << command.usage << "\n      " << command.summary << '\n';
    stream << "\nMessages that the program would show go to standard error; the exit status\n"
              "is 0 on success, 1 when the work failed and 2 for a usage error.\n";
    stream.flush();
}

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
    // Charts are drawn by the same widgets as in the program, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TESSAVOX_DEBUG"))
        qInstallMessageHandler(quietQtMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavox"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        printHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
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
    printHelp(err);
    return 2;
}
