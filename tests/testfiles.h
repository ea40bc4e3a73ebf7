#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "qtprinters.h"

// A scratch folder for one test; files written into it vanish with it.
class TestFiles
{
public:
    // Writes `bytes` to `name` inside the folder and returns the full path.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Path of a committed fixture file under tests/fixtures.
    static QString fixture(const QString &name)
    {
        return QStringLiteral(TESSAVOX_FIXTURES "/") + name;
    }

private:
    QTemporaryDir m_dir;
};
