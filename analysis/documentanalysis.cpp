#include "analysis/documentanalysis.h"

#include "analysis/nameindex.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// A cell as hertz for the analysis: an empty cell, or 0 (a formant a Formant file's line
// did not give), is missing.
double hertzOf(const TokenTableModel &tokens, int row, int column)
{
    if (tokens.isEmpty(row, column))
        return kMissing;
    const int hz = tokens.number(row, column);
    return hz > 0 ? double(hz) : kMissing;
}

} // namespace

TokenColumns documentTokenColumns(const CTessavoxDoc &doc, DocumentVowels vowels)
{
    const TokenTableModel &rows = doc.tokens();
    const int count = std::clamp(doc.m_nTokenCount, 0, rows.count());
    const bool haveSpeakers = rows.speakerShown();
    TokenColumns tokens;
    tokens.speaker.resize(std::size_t(count), 0);
    tokens.vowel.resize(std::size_t(count), 0);
    tokens.excluded.resize(std::size_t(count));
    for (Formant f : {Formant::F1, Formant::F2, Formant::F3})
        tokens.column(f).resize(std::size_t(count), kMissing);
    NameIndex speakers;
    NameIndex vowelIndex;
    if (!haveSpeakers)
        speakers.indexOf(QString());
    for (int row = 0; row < count; ++row) {
        const std::size_t r = std::size_t(row);
        if (haveSpeakers)
            tokens.speaker[r] = speakers.indexOf(rows.row(row).speaker);
        tokens.vowel[r] =
            vowelIndex.indexOf(vowels == DocumentVowels::ByOrder
                                   ? QString::number(rows.number(row, TokenTableModel::Order))
                                   : rows.symbol(row));
        tokens.column(Formant::F1)[r] = hertzOf(rows, row, TokenTableModel::F1);
        tokens.column(Formant::F2)[r] = hertzOf(rows, row, TokenTableModel::F2);
        tokens.column(Formant::F3)[r] = hertzOf(rows, row, TokenTableModel::F3);
        tokens.excluded[r] = rows.row(row).excluded;
    }
    tokens.speakerNames = speakers.names();
    tokens.vowelNames = vowelIndex.names();
    return tokens;
}

std::vector<Formant> documentFormants(const CTessavoxDoc &doc)
{
    std::vector<Formant> formants;
    for (const QString &name : doc.m_analysis.formants.split(u',', Qt::SkipEmptyParts)) {
        const QString n = name.trimmed().toUpper();
        if (n.size() == 2 && n[0] == u'F' && n[1] >= u'1' && n[1] <= u'3' &&
            std::ranges::find(formants, Formant(n[1].unicode() - '0')) == formants.end())
            formants.push_back(Formant(n[1].unicode() - '0'));
    }
    if (formants.size() < 2)
        formants = {Formant::F1, Formant::F2};
    return formants;
}

FormantSpace documentFormantSpace(const CTessavoxDoc &doc, const TokenColumns &tokens,
                                  const std::vector<Formant> &formants)
{
    const AnalysisOptions &options = doc.m_analysis;
    const FrequencyScale scale = parseFrequencyScale(options.scale).value_or(FrequencyScale::Bark);
    std::optional<NormalizationMethod> method;
    if (!options.normalization.isEmpty())
        method = parseNormalizationMethod(options.normalization);
    return makeFormantSpace(tokens, formants, scale, method);
}

OutlierResult documentOutliers(const CTessavoxDoc &doc, double level)
{
    const TokenColumns tokens = documentTokenColumns(doc, DocumentVowels::BySymbol);
    const FormantSpace space = documentFormantSpace(doc, tokens, documentFormants(doc));
    if (!space.valid() || !(level > 0.0 && level < 1.0))
        return {};
    OutlierResult result =
        vowelOutliers(tokens.withoutExcluded(tokens.speaker), tokens.speakerNames, tokens.vowel,
                      tokens.vowelNames, space.columns(), level);
    result.messages = space.messages + result.messages;
    return result;
}
