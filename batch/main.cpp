// tessavox-batch: the program's documents, tables and charts driven without a window.

#include "batch/batchcommand.h"
#include "batch/batchhelp.h"
#include "batch/batchprocess.h"
#include "framework/messages.h"
#include "plot/fontpreload.h"

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
    // Only a command that draws pays for the GUI application and its platform.
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<FontPreload> fonts;
    if (batchNeedsGui(argc, argv)) {
        fonts = std::make_unique<FontPreload>();
        app = std::make_unique<QGuiApplication>(argc, argv);
        fonts->applicationReady();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Tessavox"));
    // The platform is loaded; PNG, BMP, SVG and PDF are written by Qt itself, so no image
    // plugin (and the libraries behind them) need be searched for and loaded.
    QCoreApplication::setLibraryPaths({});

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
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
        if (command.name != name)
            continue;
        const int code = command.run(args);
        out.flush();
        err.flush();
        return leaveBatch(code);
    }
    err << "tessavox-batch: unknown command \"" << name << "\"\n";
    printBatchHelp(err);
    return 2;
}
