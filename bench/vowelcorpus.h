#pragma once

#include <QString>

// A synthetic corpus for the statistics benchmark: `tokens` tokens from tokens / 500
// speakers as a TSV file with the columns speaker, vowel, F1, F2, F3 (whole hertz). Each
// speaker has a vocal-tract factor of their own and draws ten vowels with unequal
// frequencies, so the per-speaker normalisation has real work to do. A fixed seed: the
// same file on every machine, about 22 bytes a token.
bool WriteVowelCorpus(const QString &path, int tokens);
