#pragma once

#include "framework/commandtarget.h"
#include "framework/filedialogs.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class DocumentWindow;
class DocTemplate;
class View;

// Base of every document: its path and title, the modified flag, and its views in the
// order they were created. It owns none of its views; they belong to their frames.
// Needs no widgets: what concerns views and windows (frames(), addView, removeView,
// UpdateAllViews) is defined with the windows, in documentviews.cpp.
class Document : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // reimplemented by documents
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString &path);
    virtual bool OnSaveDocument(const QString &path);
    // Before the last window closes: asks whether to save a modified document. Returns
    // false when closing should stop (the user cancelled, or the save failed).
    virtual bool SaveModified();
    // File Save: saves to the document's path, or asks for one when it has none or the
    // file is read-only.
    virtual bool save();
    // Saves to `path`, or to a path asked for with the Save As dialog when `path` is empty.
    // On success the document is unmodified and takes the new path (which joins the
    // recent-file list). On failure it stays modified.
    virtual bool saveAs(const QString &path);
    // Lets a document offer more file types in Save As; the request is filled already.
    virtual void prepareSaveRequest(FileDialogRequest &request) const { (void)request; }
    // Closes every window of the document without asking; the document goes with them.
    virtual void OnCloseDocument();

    // command handlers
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();

    // getters
    QString pathName() const { return m_pathName; }
    QString title() const { return m_title; }
    bool isModified() const { return m_modified; }
    const QList<View *> &views() const { return m_views; }
    View *firstView() const { return m_views.isEmpty() ? nullptr : m_views.first(); }
    // The frames of the views, in the views' order, each once.
    QList<DocumentWindow *> frames() const;
    DocTemplate *docTemplate() const { return m_docTemplate; }

    // setters
    // Also sets the title to the file's name and, when asked, puts the path first in the
    // application's recent-file list.
    void setPathName(const QString &path, bool addToRecentFiles = true);
    void setTitle(const QString &title);
    // A document that keeps an undo history moves its saved point here.
    virtual void setModifiedFlag(bool modified = true);

    // A document made by a template deletes itself when its last view goes.
    void setAutoDelete(bool autoDelete) { m_autoDelete = autoDelete; }
    void setDocTemplate(DocTemplate *docTemplate) { m_docTemplate = docTemplate; }
    // What Save As offers: the filter's name and the extension with its dot. Without one
    // the dialog lists all files.
    struct FileType
    {
        QString filterName;
        QString extension;
    };
    void setFileType(const FileType &type) { m_fileType = type; }

    void addView(View *view);
    void removeView(View *view);

    // Calls OnUpdate on every view but `sender`.
    void UpdateAllViews(View *sender, int hint = 0);
    // Calls OnUpdate on every view, where the program has windows; for code that knows
    // no windows.
    void updateViews();

    // What a document asks of the program's windows, filled in wherever windows are part of
    // the program; without them there is nothing to close and no recent-file list.
    struct WindowHooks
    {
        std::function<void(Document &)> closeWindows;
        std::function<void(const QString &path)> rememberFile;
        std::function<void(Document &)> updateViews;
    };
    static WindowHooks &windowHooks();

signals:
    void titleChanged(const QString &title);
    void modifiedChanged(bool modified);
    void viewsChanged();

private:
    QString m_pathName;
    QString m_title;
    bool m_modified = false;
    bool m_autoDelete = false;
    DocTemplate *m_docTemplate = nullptr; // not owned; the template that made this document
    std::optional<FileType> m_fileType;
    QList<View *> m_views; // not owned
};
