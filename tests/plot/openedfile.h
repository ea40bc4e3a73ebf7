#pragma once

#include "document/tessavoxdoc.h"

#include <QObject>
#include <QString>

// A file opened as File Open opens it, its rows filled as a table window fills them.
struct OpenedFile
{
    CTessavoxDoc doc;
    QObject table; // stands for the table window

    bool open(const QString &path)
    {
        if (!doc.open(path, {}).ok())
            return false;
        doc.attachTable(&table);
        return true;
    }
};
