#pragma once

#include "framework/commandtarget.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class DocTemplate;
class Document;
class QMainWindow;
class RecentFileList;

// The program as a whole: its registered document templates, the documents they made, the
// recent-file list, the main window, and the commands that no window handles (File New,
// the recent files, Print Setup, Exit). One instance at a time; it lives beside the
// QApplication and does not replace it.
class Application : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    explicit Application(QObject *parent = nullptr);
    ~Application() override;

    static Application *instance();

    // Start-up: loads the recent-file list from the settings. A program reimplements it to
    // name its settings first and then build its windows; false when they could not be made.
    virtual bool init();

    // Registers a template for File New and opening files; the application owns it.
    void AddDocTemplate(DocTemplate *docTemplate);

    QMainWindow *mainWindow() const;
    // The application owns the main window from then on.
    void setMainWindow(QMainWindow *window);

    // Opens `path` as a document, or activates the window of the document that already
    // has it open. Returns nullptr when it cannot be read. `prepare` sees a new document
    // before it reads the file.
    Document *OpenDocumentFile(const QString &path,
                               const std::function<void(Document &)> &prepare = {});
    // A new document of the first template filled by `fill` (see
    // DocTemplate::OpenFilledDocument); nullptr when it could not be made.
    Document *OpenFilledDocument(const QString &title, const std::function<bool(Document &)> &fill);
    void AddToRecentFileList(const QString &path);
    RecentFileList *recentFiles() const { return m_recentFiles.get(); }

    // Open documents in the order they were made.
    QList<Document *> documents() const;
    // Asks to save each modified document in turn; false as soon as one says stop.
    bool saveAllModified();
    void closeAllDocuments();
    // Writes the recent-file list back.
    void saveSettings() const;

    // command handlers
    void OnFileNew();
    void OnOpenRecentFile(int index);
    void OnFilePrintSetup();
    void OnAppExit();

protected:
    DocTemplate *firstTemplate() const;

private:
    void track(Document *doc);

    std::vector<std::unique_ptr<DocTemplate>> m_templates;
    std::unique_ptr<RecentFileList> m_recentFiles;
    QPointer<QMainWindow> m_mainWindow; // owned
    QList<QPointer<Document>> m_documents;
};
