// Tessavox: vowel charts from Formant files.

#include "app/shellopenchannel.h"
#include "app/tessavoxapp.h"
#include "framework/windowdialogs.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// The manual page is made from this text.
const char kHelp[] =
    "Usage: tessavox [--shell-open FILE...]\n"
    "  or:  tessavox --help | --version\n"
    "Draws F1-F2 and F1-F3 vowel charts from Formant files and CSV or TSV tables: open\n"
    "a file, edit its tokens in a table, choose a scale, normalisation and ellipse,\n"
    "read the group statistics, and print or export the charts.\n"
    "\n"
    "Options:\n"
    "  --shell-open FILE...  open the files in the Tessavox that is already running,\n"
    "                        or start one that opens them; the desktop entry runs this\n"
    "  --help                show this help and exit\n"
    "  --version             show the version and exit\n"
    "\n"
    "Other file names on the command line open nothing: use File > Open, or drop the\n"
    "files on the window.\n"
    "\n"
    "Exit status:\n"
    "  0  the program was closed, or the files went to the running Tessavox\n"
    "  1  the program could not start\n"
    "\n"
    "Examples:\n"
    "  tessavox\n"
    "  tessavox --shell-open vowels.txt\n";

} // namespace

int main(int argc, char *argv[])
{
    // Answered before any window exists, so they work without a display. Anything after
    // --shell-open is a file name, even one that looks like an option.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--shell-open") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("tessavox " TESSAVOX_VERSION);
            return 0;
        }
    }

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavox"));
    useWindowDialogs();

    // File names on the command line open nothing; only a shell open request does, and it
    // goes to the instance already running when there is one.
    bool shellOpen = false;
    const QStringList paths = ShellOpenChannel::shellOpenPaths(qapp.arguments(), &shellOpen);
    if (shellOpen && ShellOpenChannel::send(ShellOpenChannel::defaultServerName(), paths))
        return 0;

    CTessavoxApp app;
    if (!app.init())
        return 1;
    if (!paths.isEmpty())
        app.openShellRequest(paths);
    return qapp.exec();
}
