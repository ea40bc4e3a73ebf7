#include "framework/application.h"

#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/documentwindow.h"
#include "framework/printjob.h"
#include "framework/recentfilelist.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>

#include <algorithm>

namespace {

Application *g_instance = nullptr;
// Documents put the files they open or save into the running application's list.
const bool g_recentFilesHooked = (
    Document::windowHooks().rememberFile =
        [](const QString &path) {
            if (g_instance)
                g_instance->AddToRecentFileList(path);
        },
    true);
constexpr int kRecentFileCount = 4;

bool samePath(const QString &a, const QString &b)
{
    const QFileInfo left(a);
    const QFileInfo right(b);
    if (left.exists() && right.exists())
        return left.canonicalFilePath() == right.canonicalFilePath();
    return left.absoluteFilePath() == right.absoluteFilePath();
}

} // namespace

Application::Application(QObject *parent) : QObject(parent)
{
    g_instance = this;
    addCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    addCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    addCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    for (int i = 0; i < 4; ++i) {
        addCommand(
            ID_FILE_MRU_FILE1 + i, [this, i] { OnOpenRecentFile(i); },
            [this, i](CommandState &ui) {
                ui.setEnabled(m_recentFiles && i < m_recentFiles->size());
            });
    }
}

Application::~Application()
{
    delete m_mainWindow;
    for (const auto &doc : std::as_const(m_documents))
        delete doc;
    if (g_instance == this)
        g_instance = nullptr;
}

Application *Application::instance()
{
    return g_instance;
}

bool Application::init()
{
    m_recentFiles = std::make_unique<RecentFileList>(kRecentFileCount);
    m_recentFiles->load();
    return true;
}

void Application::AddDocTemplate(DocTemplate *docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

QMainWindow *Application::mainWindow() const
{
    return m_mainWindow;
}

void Application::setMainWindow(QMainWindow *window)
{
    m_mainWindow = window;
}

DocTemplate *Application::firstTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void Application::track(Document *doc)
{
    if (doc && !m_documents.contains(doc))
        m_documents.append(doc);
}

Document *Application::OpenDocumentFile(const QString &path,
                                        const std::function<void(Document &)> &prepare)
{
    for (Document *doc : documents()) {
        if (!doc->pathName().isEmpty() && samePath(doc->pathName(), path)) {
            if (DocumentWindow *frame = doc->frames().value(0))
                frame->showAndActivate();
            return doc;
        }
    }
    DocTemplate *docTemplate = firstTemplate();
    if (!docTemplate)
        return nullptr;
    Document *doc = docTemplate->OpenDocumentFile(path, prepare);
    track(doc);
    return doc;
}

Document *Application::OpenFilledDocument(const QString &title,
                                          const std::function<bool(Document &)> &fill)
{
    DocTemplate *docTemplate = firstTemplate();
    if (!docTemplate)
        return nullptr;
    Document *doc = docTemplate->OpenFilledDocument(title, fill);
    track(doc);
    return doc;
}

void Application::AddToRecentFileList(const QString &path)
{
    if (!m_recentFiles)
        return;
    m_recentFiles->add(path);
    m_recentFiles->save();
}

QList<Document *> Application::documents() const
{
    QList<Document *> result;
    for (const auto &doc : m_documents) {
        if (!doc)
            continue;
        // A document whose windows are all on their way out is closed already.
        const QList<DocumentWindow *> frames = doc->frames();
        if (std::any_of(frames.begin(), frames.end(),
                        [](const DocumentWindow *frame) { return !frame->isClosing(); }))
            result.append(doc);
    }
    return result;
}

bool Application::saveAllModified()
{
    for (Document *doc : documents()) {
        if (!doc->SaveModified())
            return false;
    }
    return true;
}

void Application::closeAllDocuments()
{
    for (Document *doc : documents())
        doc->OnCloseDocument();
}

void Application::saveSettings() const
{
    if (m_recentFiles)
        m_recentFiles->save();
}

void Application::OnFileNew()
{
    if (DocTemplate *docTemplate = firstTemplate())
        track(docTemplate->OpenDocumentFile(QString()));
}

void Application::OnOpenRecentFile(int index)
{
    if (!m_recentFiles || index < 0 || index >= m_recentFiles->size())
        return;
    // A file that can no longer be opened leaves the list.
    if (!OpenDocumentFile(m_recentFiles->at(index))) {
        m_recentFiles->remove(index);
        m_recentFiles->save();
    }
}

void Application::OnFilePrintSetup()
{
    PrintJob::setup();
}

void Application::OnAppExit()
{
    if (m_mainWindow) {
        m_mainWindow->close();
        return;
    }
    if (saveAllModified()) {
        closeAllDocuments();
        saveSettings();
        QCoreApplication::quit();
    }
}
