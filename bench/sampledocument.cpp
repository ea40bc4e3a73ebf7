#include "sampledocument.h"

#include "batch/batchinput.h"
#include "plot/documentchart.h"
#include "vowelsample.h"

#include <QFile>

SampleFile::SampleFile(int count)
{
    const QByteArray text = FormantFileOf(GenerateVowelTokens(count));
    const QString path = m_dir.filePath(QStringLiteral("vowels.txt"));
    QFile file(path);
    if (m_dir.isValid() && file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        m_path = path;
}

bool SampleWritten(const SampleFile &sample, benchmark::State &state)
{
    if (!sample.isValid())
        state.SkipWithError("cannot write the sample file");
    return sample.isValid();
}

std::unique_ptr<BatchInput> OpenSample(const SampleFile &sample, benchmark::State &state)
{
    std::unique_ptr<BatchInput> opened =
        BatchInput::open(QStringLiteral("bench"), sample.path(), {});
    if (!opened)
        state.SkipWithError("the sample file did not open");
    return opened;
}
