#include "app/tessavoxapp.h"

#include "app/aboutdlg.h"
#include "app/mainframe.h"
#include "app/shellopenchannel.h"
#include "app/tablechildframe.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/filedialogs.h"
#include "framework/modaldialogs.h"
#include "framework/stringtable.h"
#include "plot/plotwindows.h"
#include "table/plottemplates.h"
#include "table/tessavoxformview.h"

#include <QApplication>
#include <QScreen>

CTessavoxApp::CTessavoxApp(QObject *parent)
    : Application(parent), m_shellServerName(ShellOpenChannel::defaultServerName())
{
    addCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    addCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

bool CTessavoxApp::init()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(LoadString(57344));
    if (!Application::init())
        return false;

    AddDocTemplate(new DocTemplate(
        IDR_TESSAVOXTYPE, [] { return new CTessavoxDoc; }, [] { return new CChildFrame; },
        [] { return new CTessavoxFormView; }));
    // The chart windows' own templates, which the table's Plot commands use; never registered.
    PlotTemplates::setFactory(chartTemplate);

    auto *frame = new CMainFrame;
    if (!frame->LoadFrame()) {
        delete frame;
        return false;
    }
    setMainWindow(frame);
    QApplication::setWindowIcon(frame->windowIcon());

    // The desktop's open requests; files dropped on the main window open through it too.
    if (!m_shellServerName.isEmpty()) {
        m_shellChannel = new ShellOpenChannel(this);
        connect(m_shellChannel, &ShellOpenChannel::openRequested, this,
                &CTessavoxApp::openShellRequest);
        m_shellChannel->listen(m_shellServerName);
    }

    // Without a window manager to maximize it, the window still fills the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    return true;
}

CMainFrame *CTessavoxApp::mainFrame() const
{
    return qobject_cast<CMainFrame *>(mainWindow());
}

void CTessavoxApp::openShellRequest(const QStringList &paths)
{
    if (CMainFrame *frame = mainFrame()) {
        if (frame->isMinimized())
            frame->showMaximized();
        frame->raise();
        frame->activateWindow();
    }
    for (const QString &path : paths)
        OpenDocumentFile(path);
}

void CTessavoxApp::OnFileOpen()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open Tessavox file");
    request.filterName = QStringLiteral("Tessavox files (*.txt)");
    request.patterns = {QStringLiteral("*.txt"), QStringLiteral("*")};
    request.defaultSuffix = QStringLiteral("txt");
    request.moreFilters = {{QStringLiteral("Tables"),
                            {QStringLiteral("*.csv"), QStringLiteral("*.tsv")},
                            QStringLiteral("csv")}};
    int chosen = 0;
    request.chosenFilter = &chosen;
    const QString path = FileDialogs::ask(request);
    if (path.isEmpty())
        return;
    // Choosing the table type reads any file as a table; otherwise the name and the
    // content decide.
    if (chosen != 1) {
        OpenDocumentFile(path);
        return;
    }
    OpenDocumentFile(path, [](Document &doc) {
        if (auto *tessavox = qobject_cast<CTessavoxDoc *>(&doc))
            tessavox->setOpenOptions({TabularFileKind::Table, {}});
    });
}

void CTessavoxApp::OnAppAbout()
{
    CAboutDlg dialog(mainWindow());
    ModalDialogs::exec(dialog);
}
