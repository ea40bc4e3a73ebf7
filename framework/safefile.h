#pragma once

#include "framework/fileerror.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// The one way the program writes a file: through a temporary file in the same folder that
// replaces the target only once it is completely on disk, so a failed write leaves any
// previous file as it was and no partial file behind. An existing file keeps its
// permissions, and a symbolic link stays a link. Returns an error of kind None on success.

FileError WriteFileSafely(const QString &path, const QByteArray &bytes);

// For writers that stream into a device (PDF, SVG, PNG): `write` fills the open device
// and returns false when it could not, which abandons the file.
FileError WriteFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write);
