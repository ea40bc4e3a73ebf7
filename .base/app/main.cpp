// Tessavox: vowel charts from Formant files.

#include "app/shellopenchannel.h"
#include "app/tessavoxapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavox"));

    // File names on the command line open nothing; only a shell open request does, and it
    // goes to the instance already running when there is one.
    bool shellOpen = false;
    const QStringList paths = ShellOpenChannel::shellOpenPaths(qapp.arguments(), &shellOpen);
    if (shellOpen && ShellOpenChannel::send(ShellOpenChannel::defaultServerName(), paths))
        return 0;

    CTessavoxApp app;
    if (!app.InitInstance())
        return 1;
    if (!paths.isEmpty())
        app.openShellRequest(paths);
    return qapp.exec();
}
