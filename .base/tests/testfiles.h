#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "qtprinters.h"

// A scratch folder for one test; files written into it vanish with it.
class TestFiles
{
public:
    TestFiles();
    // Writes `bytes` to `name` inside the folder and returns the full path.
    QString write(const QString &name, const QByteArray &bytes) const;
    QString path(const QString &name) const;
    static QByteArray read(const QString &path);
    // Path of a committed fixture file under tests/fixtures.
    static QString fixture(const QString &name);

private:
    QTemporaryDir m_dir;
};
