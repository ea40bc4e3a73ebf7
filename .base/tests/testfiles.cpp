#include "testfiles.h"

#include <QFile>

TestFiles::TestFiles() = default;

QString TestFiles::write(const QString &name, const QByteArray &bytes) const
{
    const QString full = path(name);
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return full;
}

QString TestFiles::path(const QString &name) const
{
    return m_dir.filePath(name);
}

QByteArray TestFiles::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TestFiles::fixture(const QString &name)
{
    return QStringLiteral(TESSAVOX_FIXTURES "/") + name;
}
