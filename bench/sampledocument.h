#pragma once

#include <QString>
#include <QTemporaryDir>

// A generated Formant file of `count` tokens in a scratch folder that goes with the object.
class SampleFile
{
public:
    explicit SampleFile(int count);

    bool isValid() const { return !m_path.isEmpty(); }
    const QString &path() const { return m_path; }
    // A path beside the sample for files the benchmarks write.
    QString scratchPath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
