// makecorpus OUT.tsv [TOKENS]: writes the statistics benchmark's synthetic corpus (default
// 1,000,000 tokens), e.g. to try the batch tool or another program on the same data.
// makecorpus --formant OUT.txt [TOKENS]: writes the chart benchmark's Formant file instead
// (default 9,998 tokens), to profile or time a chart outside the benchmark.

#include "vowelsample.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    const bool formant = argc > 1 && std::strcmp(argv[1], "--formant") == 0;
    const int first = formant ? 2 : 1;
    if (argc < first + 1 || argc > first + 2) {
        std::fprintf(stderr, "usage: makecorpus [--formant] OUT [TOKENS]\n");
        return 2;
    }
    const int tokens = argc == first + 2 ? std::atoi(argv[first + 1]) : formant ? 9998 : 1000000;
    if (tokens <= 0) {
        std::fprintf(stderr, "makecorpus: TOKENS must be a positive number\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[first]);
    bool written = false;
    if (formant) {
        const QByteArray text = FormantFileOf(GenerateVowelTokens(tokens));
        QFile file(path);
        written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    } else {
        written = WriteVowelCorpus(path, tokens);
    }
    if (!written) {
        std::fprintf(stderr, "makecorpus: cannot write %s\n", argv[first]);
        return 1;
    }
    return 0;
}
