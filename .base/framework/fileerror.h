#pragma once

#include <QString>

class QFileDevice;

// Why a file could not be opened, read or written, and the standard reports that the
// program shows for a failed document open or save.
struct FileError
{
    enum class Kind {
        None,
        NotFound,
        AccessDenied,
        IsDirectory,
        BadPath,
        DiskFull,
        ReadFailed,
        WriteFailed,
        OutOfMemory,
    };

    Kind kind = Kind::None;
    QString path;
    QString detail; // the system's own wording, when there is one

    bool isError() const { return kind != Kind::None; }

    // Classifies a failure to open `path` for reading.
    static FileError forRead(const QString &path, const QFileDevice *file = nullptr);
    // Classifies a failure to create or write `path`.
    static FileError forWrite(const QString &path, const QFileDevice *file = nullptr);

    // One sentence naming the reason, e.g. "The file does not exist."
    QString reason() const;
};

// "Cannot open the file ..." followed by the reason.
QString openFailureReport(const FileError &error);
// "Cannot save the file ..." followed by the reason.
QString saveFailureReport(const FileError &error);
