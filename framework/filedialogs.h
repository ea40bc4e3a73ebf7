#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the program asks of a file dialog: the program's own Open dialog and Save As.
struct FileDialogRequest
{
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    QString title;
    QString filterName;    // shown in the dialog, e.g. "Tessavox Files (*.txt)"
    QStringList patterns;  // the files the filter lists, e.g. {"*.txt", "*"}
    QString defaultSuffix; // without the dot; added to a typed name that has none
    QString initialPath;   // file name or path proposed to the user; may be empty

    // Further file types offered after the first, and where the dialog puts the index of
    // the type the user chose (0 = the first); may be null.
    struct Filter
    {
        QString name;
        QStringList patterns;
        QString defaultSuffix;
    };
    QList<Filter> moreFilters;
    int *chosenFilter = nullptr;
};

// Runs the file dialogs behind a seam, so tests answer them without a modal loop.
class FileDialogs
{
public:
    // Returns the chosen path, or an empty string when the user cancels.
    using Answerer = std::function<QString(const FileDialogRequest &request)>;

    static QString ask(const FileDialogRequest &request);
    // The dialog shown when no answerer is set; the program installs the real one (see
    // windowdialogs.h). Without it every request is cancelled.
    static void setWindowDialog(Answerer dialog);
    // Replaces the answerer; returns the previous one. An empty one restores the dialog.
    static Answerer setAnswerer(Answerer answerer);
};

// Answers every file dialog with `path` for its lifetime (empty = cancel) and records the
// requests it saw. Meant for tests.
class ScopedFileDialogAnswer
{
public:
    explicit ScopedFileDialogAnswer(QString path);
    ~ScopedFileDialogAnswer();
    ScopedFileDialogAnswer(const ScopedFileDialogAnswer &) = delete;
    ScopedFileDialogAnswer &operator=(const ScopedFileDialogAnswer &) = delete;

    void setPath(const QString &path) { m_path = path; }
    const QList<FileDialogRequest> &requests() const { return m_requests; }

private:
    QString m_path;
    QList<FileDialogRequest> m_requests;
    FileDialogs::Answerer m_previous;
};
