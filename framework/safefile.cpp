#include "framework/safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

namespace {

FileError writeError(const QString &path, FileError::Kind kind, const QString &detail = {})
{
    return FileError{kind, path, detail};
}

// The failure of a write or of the final rename, from the errno it left behind.
FileError failedWrite(const QString &path, int error, const QSaveFile &file)
{
    if (error == ENOSPC || error == EDQUOT)
        return writeError(path, FileError::Kind::DiskFull);
    if (error == EACCES || error == EPERM || error == EROFS)
        return writeError(path, FileError::Kind::AccessDenied);
    return writeError(path, FileError::Kind::WriteFailed, file.errorString());
}

FileError writeThrough(const QString &path, const std::function<bool(QIODevice &)> &write,
                       QIODevice::OpenMode mode)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty() || !target.absoluteDir().exists())
        return writeError(path, FileError::Kind::BadPath);
    if (target.isDir())
        return writeError(path, FileError::Kind::IsDirectory);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(mode)) {
        const int error = errno;
        if ((target.exists() && !target.isWritable()) ||
            !QFileInfo(target.absolutePath()).isWritable())
            return writeError(path, FileError::Kind::AccessDenied);
        return failedWrite(path, error, file);
    }
    errno = 0;
    if (!write(file) || !file.flush())
        return failedWrite(path, errno, file); // the unfinished file goes with `file`
    // The data must be on disk before the rename makes it the file; otherwise a crash
    // right after saving could leave an empty file where the old one was.
    errno = 0;
    if (::fsync(file.handle()) != 0)
        return failedWrite(path, errno, file);
    errno = 0;
    if (!file.commit())
        return failedWrite(path, errno, file);
    return {};
}

} // namespace

FileError WriteFileSafely(const QString &path, const QByteArray &bytes)
{
    // Unbuffered, so that each failing system call leaves its own errno for the report.
    return writeThrough(
        path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); },
        QIODevice::WriteOnly | QIODevice::Unbuffered);
}

FileError WriteFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    // Streaming writers make many small writes: buffered.
    return writeThrough(path, write, QIODevice::WriteOnly);
}
