#include "document/tokenrecording.h"

#include "document/tessavoxdoc.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// Seconds as a measured table writes them; a decimal comma is taken too.
bool readSeconds(QString text, double &seconds)
{
    text = text.trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    seconds = text.toDouble(&ok);
    return ok && std::isfinite(seconds) && seconds >= 0.0;
}

} // namespace

TokenRecording findTokenRecording(const CTessavoxDoc &doc, int row, double context)
{
    TokenRecording recording;
    const int file = doc.tableColumn(QStringLiteral("File"));
    const int start = doc.tableColumn(QStringLiteral("Start"));
    const int end = doc.tableColumn(QStringLiteral("End"));
    if (file < 0 || start < 0 || end < 0) {
        recording.problem = QStringLiteral("The table has no File, Start and End columns to "
                                           "find the recording by.");
        return recording;
    }
    if (row < 0 || row >= doc.tokens().count()) {
        recording.problem = QStringLiteral("No token is chosen.");
        return recording;
    }
    recording.fileName = doc.tableText(row, file).trimmed();
    if (recording.fileName.isEmpty()) {
        recording.problem = QStringLiteral("Row %1 names no recording.").arg(row + 1);
        return recording;
    }
    if (!readSeconds(doc.tableText(row, start), recording.start) ||
        !readSeconds(doc.tableText(row, end), recording.end) || recording.end <= recording.start) {
        recording.problem =
            QStringLiteral("Row %1 has no usable Start and End times.").arg(row + 1);
        return recording;
    }
    recording.found = true;
    context = std::max(context, 0.0);
    recording.from = std::max(0.0, recording.start - context);
    recording.to = recording.end + context;
    const QFileInfo named(recording.fileName);
    recording.path = named.isAbsolute()
                         ? recording.fileName
                         : QFileInfo(doc.pathName()).dir().filePath(recording.fileName);
    if (!QFileInfo(recording.path).isFile())
        recording.problem = QStringLiteral("Cannot find the recording %1.")
                                .arg(QDir::toNativeSeparators(recording.path));
    return recording;
}
