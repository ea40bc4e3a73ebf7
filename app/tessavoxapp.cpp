#include "app/tessavoxapp.h"

#include "app/aboutdlg.h"
#include "app/mainframe.h"
#include "app/measurementprogress.h"
#include "app/measurerecordingsdlg.h"
#include "app/shellopenchannel.h"
#include "app/tablechildframe.h"
#include "document/tabularreader.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"
#include "framework/stringtable.h"
#include "measure/measurementtable.h"
#include "plot/plotwindows.h"
#include "table/plottemplates.h"
#include "table/tessavoxformview.h"

#include <QApplication>
#include <QScreen>

namespace {

// What went wrong in a measurement, for one message: the files skipped, each named, and the
// formants not found; empty when all went well. The tier notes stay out of it.
QString measurementProblems(const MeasurementResult &result, int files)
{
    QStringList problems;
    for (const QString &message : result.messages) {
        if (!message.contains(QStringLiteral(": measuring tier \"")))
            problems << message;
    }
    if (problems.isEmpty())
        return {};
    constexpr int kShown = 12;
    QString text = result.skippedFiles > 0
                       ? QStringLiteral("%1 of %2 recording(s) could not be measured:\n\n")
                             .arg(result.skippedFiles)
                             .arg(files)
                       : QString();
    text += problems.mid(0, kShown).join(QLatin1Char('\n'));
    if (problems.size() > kShown)
        text += QStringLiteral("\n... and %1 more.").arg(problems.size() - kShown);
    return text;
}

} // namespace

CTessavoxApp::CTessavoxApp(QObject *parent)
    : Application(parent), m_shellServerName(ShellOpenChannel::defaultServerName())
{
    addCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    addCommand(ID_FILE_MEASURE_RECORDINGS, [this] { OnFileMeasureRecordings(); });
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
    if (!frame->buildMenusAndBars()) {
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

void CTessavoxApp::OnFileMeasureRecordings()
{
    MeasureRecordingsDlg dialog(mainWindow());
    dialog.setSettings(m_measurement);
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return;
    m_measurement = dialog.settings();
    const std::optional<MeasurementResult> result =
        MeasurementProgress::run(m_measurement, mainWindow());
    if (!result)
        return;
    if (const QString problems = measurementProblems(*result, int(m_measurement.audioFiles.size()));
        !problems.isEmpty())
        Messages::show(problems);
    if (!result->tokens.empty())
        openMeasuredTable(*result);
}

void CTessavoxApp::openMeasuredTable(const MeasurementResult &result)
{
    TabularReadResult table = ParseTabularText(FormatMeasurementTable(result));
    if (!table.ok()) {
        Messages::show(table.message);
        return;
    }
    Document *doc = OpenFilledDocument(
        QStringLiteral("Measured %1").arg(++m_measuredCount), [&table](Document &document) {
            auto *tessavoxDoc = qobject_cast<CTessavoxDoc *>(&document);
            if (!tessavoxDoc)
                return false;
            tessavoxDoc->adoptTable(std::move(table.table));
            return true;
        });
    // Measured rows exist nowhere else yet: closing asks to save them.
    if (doc)
        doc->setModifiedFlag(true);
}

void CTessavoxApp::OnAppAbout()
{
    CAboutDlg dialog(mainWindow());
    ModalDialogs::exec(dialog);
}
