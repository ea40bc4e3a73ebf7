#include "framework/fileerror.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

namespace {

QString systemDetail(const QFileDevice *file)
{
    return file ? file->errorString() : QString();
}

} // namespace

FileError FileError::forRead(const QString &path, const QFileDevice *file)
{
    const QFileInfo info(path);
    FileError error{Kind::ReadFailed, path, systemDetail(file)};
    if (!info.exists())
        error.kind = Kind::NotFound;
    else if (info.isDir())
        error.kind = Kind::IsDirectory;
    else if (!info.isFile())
        error.detail = QStringLiteral("it is not a regular file");
    else if (!info.isReadable())
        error.kind = Kind::AccessDenied;
    return error;
}

FileError FileError::forWrite(const QString &path, const QFileDevice *file)
{
    const QFileInfo info(path);
    FileError error{Kind::WriteFailed, path, systemDetail(file)};
    if (path.isEmpty() || !info.absoluteDir().exists())
        error.kind = Kind::BadPath;
    else if (info.isDir())
        error.kind = Kind::IsDirectory;
    else if (errno == ENOSPC)
        error.kind = Kind::DiskFull;
    else if ((info.exists() && !info.isWritable()) || !QFileInfo(info.absolutePath()).isWritable())
        error.kind = Kind::AccessDenied;
    return error;
}

QString FileError::reason() const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::NotFound:
        return QStringLiteral("The file does not exist.");
    case Kind::AccessDenied:
        return QStringLiteral("Access to the file was denied.");
    case Kind::IsDirectory:
        return QStringLiteral("It is a folder, not a file.");
    case Kind::BadPath:
        return QStringLiteral("The file name is not valid or its folder does not exist.");
    case Kind::DiskFull:
        return QStringLiteral("There is not enough space on the disk.");
    case Kind::OutOfMemory:
        return QStringLiteral("There is not enough memory to read the file.");
    case Kind::ReadFailed:
        return detail.isEmpty() ? QStringLiteral("The file could not be read.")
                                : QStringLiteral("The file could not be read (%1).").arg(detail);
    case Kind::WriteFailed:
        return detail.isEmpty() ? QStringLiteral("The file could not be written.")
                                : QStringLiteral("The file could not be written (%1).").arg(detail);
    }
    return {};
}

QString openFailureReport(const FileError &error)
{
    return QStringLiteral("Cannot open the file \"%1\".\n%2")
        .arg(QDir::toNativeSeparators(error.path), error.reason());
}

QString saveFailureReport(const FileError &error)
{
    return QStringLiteral("Cannot save the file \"%1\".\n%2")
        .arg(QDir::toNativeSeparators(error.path), error.reason());
}
