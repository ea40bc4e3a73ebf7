#pragma once

#include "analysis/formantspace.h"
#include "analysis/tokencolumns.h"
#include "analysis/voweloutliers.h"

#include <vector>

class CTessavoxDoc;

// The document's rows as the analysis takes them, and the figures the program's windows
// show for them in the document's scale or normalisation. Reads the rows at each call;
// keeps nothing.

// What makes two rows one vowel: the Order number (the charts' groups) or the symbol.
enum class DocumentVowels { ByOrder, BySymbol };

// One entry per row: the speaker (one unnamed speaker without a Speaker column), the vowel,
// F1 to F3 in hertz (NaN for an empty cell or 0) and whether the row is excluded.
TokenColumns documentTokenColumns(const CTessavoxDoc &doc, DocumentVowels vowels);

// The formants the document's figures use: those its analysis options name, else F1 and F2.
std::vector<Formant> documentFormants(const CTessavoxDoc &doc);

// `formants` of `tokens` in the document's scale or normalisation. A name the analysis does
// not know falls back to Bark, as on the charts.
FormantSpace documentFormantSpace(const CTessavoxDoc &doc, const TokenColumns &tokens,
                                  const std::vector<Formant> &formants);

// Per row, its squared Mahalanobis distance within its speaker's vowel (by symbol) and
// whether it is an outlier at `level`, on documentFormants(). Excluded rows get none.
OutlierResult documentOutliers(const CTessavoxDoc &doc, double level);
