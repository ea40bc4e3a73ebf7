// makecorpus OUT.tsv [TOKENS]: writes the statistics benchmark's synthetic corpus (default
// 1,000,000 tokens), e.g. to try the batch tool or another program on the same data.

#include "vowelsample.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: makecorpus OUT.tsv [TOKENS]\n");
        return 2;
    }
    const int tokens = argc == 3 ? std::atoi(argv[2]) : 1000000;
    if (tokens <= 0) {
        std::fprintf(stderr, "makecorpus: TOKENS must be a positive number\n");
        return 2;
    }
    if (!WriteVowelCorpus(QString::fromLocal8Bit(argv[1]), tokens)) {
        std::fprintf(stderr, "makecorpus: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
