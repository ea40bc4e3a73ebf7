#include "document/formantwriter.h"

#include "document/cellsource.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>

#include <unistd.h>

namespace {

constexpr int kSymbolColumn = 3;

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

// The reader takes only runs of three or more digits as formants, so a value below 100
// written plainly ("0", "50") would shift the line's formants or drop the token when the
// file is read back. Leading zeros keep every such value.
void appendFormant(QByteArray &text, int value)
{
    if (value >= 0 && value < 100) {
        const char digits[3] = {'0', char('0' + value / 10), char('0' + value % 10)};
        text.append(digits, 3);
    } else {
        std::array<char, 16> digits{};
        const char *end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        text.append(digits.data(), end - digits.data());
    }
}

} // namespace

QByteArray FormatFormantText(const CellSource &table, int rowCount)
{
    QByteArray text;
    // Three four-digit formants and a short label fill about 24 bytes a row.
    text.reserve(qsizetype(std::max(rowCount, 0)) * 28);
    // A table has a handful of distinct symbols over thousands of rows, mostly in runs:
    // encode a symbol only when it differs from the row before.
    QString symbol;
    QByteArray symbolBytes;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < kSymbolColumn; ++column) {
            appendFormant(text, table.GetCellInt(row, column));
            text += '\t';
        }
        const QString cell = table.GetCellText(row, kSymbolColumn);
        if (row == 0 || cell != symbol) {
            symbol = cell;
            symbolBytes = cell.toUtf8();
        }
        text += '"';
        text += symbolBytes;
        text += "\"\t\r\n";
    }
    return text;
}

FileError WriteFileSafely(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty() || !target.absoluteDir().exists())
        return writeError(path, FileError::Kind::BadPath);
    if (target.isDir())
        return writeError(path, FileError::Kind::IsDirectory);

    QSaveFile file(path);
    // Unbuffered, so that each failing system call leaves its own errno for the report.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        if ((target.exists() && !target.isWritable()) ||
            !QFileInfo(target.absolutePath()).isWritable())
            return writeError(path, FileError::Kind::AccessDenied);
        return failedWrite(path, error, file);
    }
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return failedWrite(path, errno, file);
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
