#pragma once

#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

class BatchInput;

// The file sizes every benchmark runs at, in tokens: small, typical and the largest file.
inline void AtFileSizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(100)->Arg(1000)->Arg(9998);
}

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

// False, with the benchmark marked as skipped, when the sample could not be written.
bool SampleWritten(const SampleFile &sample, benchmark::State &state);

// The sample opened as the program opens it; nullptr, with the benchmark marked as skipped,
// when it does not open.
std::unique_ptr<BatchInput> OpenSample(const SampleFile &sample, benchmark::State &state);
