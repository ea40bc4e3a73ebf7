#include "vowelsample.h"

#include "document/cellsource.h"
#include "document/formantwriter.h"

#include <QSaveFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace {

struct VowelMean
{
    const char *label;
    std::array<double, 3> men;
    std::array<double, 3> women;
};

// Average F1, F2, F3 (Hz) of adult speakers in the classic measurements of American English
// vowels; /e/ and /o/ from the later studies that added them.
constexpr std::array<VowelMean, 12> kMeans{{
    {"i", {270, 2290, 3010}, {310, 2790, 3310}},
    {"\u026A", {390, 1990, 2550}, {430, 2480, 3070}},
    {"e", {476, 2089, 2691}, {536, 2530, 3047}},
    {"\u025B", {530, 1840, 2480}, {610, 2330, 2990}},
    {"\u00E6", {660, 1720, 2410}, {860, 2050, 2850}},
    {"\u0251", {730, 1090, 2440}, {850, 1220, 2810}},
    {"\u0254", {570, 840, 2410}, {590, 920, 2710}},
    {"o", {497, 910, 2459}, {555, 1035, 2828}},
    {"\u028A", {440, 1020, 2240}, {470, 1160, 2680}},
    {"u", {300, 870, 2240}, {370, 950, 2670}},
    {"\u028C", {640, 1190, 2390}, {760, 1400, 2780}},
    {"\u025D", {490, 1350, 1690}, {500, 1640, 1960}},
}};

// Spread of a speaker group around its mean, as a fraction of the mean.
constexpr std::array<double, 3> kRelativeSpread{0.08, 0.06, 0.05};

// The statistics corpus's vowels: the men's means of ten of the vowels above, and how often
// each is drawn.
struct CorpusVowel
{
    const char *label;
    std::size_t mean; // index into kMeans
    double weight;
};
constexpr std::array<CorpusVowel, 10> kCorpusVowels{{
    {"i", 0, 0.16},
    {"I", 1, 0.12},
    {"e", 3, 0.10},
    {"E", 4, 0.08},
    {"a", 5, 0.14},
    {"O", 6, 0.06},
    {"U", 8, 0.05},
    {"u", 9, 0.12},
    {"V", 10, 0.09},
    {"R", 11, 0.08},
}};
constexpr int kCorpusTokensPerSpeaker = 500;

// One row: speaker, vowel, F1, F2, F3, tab-separated unless told otherwise.
void appendRow(QByteArray &out, int speaker, const char *vowel, const std::array<long, 3> &hz,
               char separator = '\t')
{
    char text[24];
    std::snprintf(text, sizeof text, "s%04d", speaker);
    out.append(text).append(separator).append(vowel);
    for (const long value : hz)
        out.append(separator).append(text,
                                     std::to_chars(text, text + sizeof text, value).ptr - text);
    out.append('\n');
}

// Uniform and (Box-Muller) normal draws over mt19937, whose output the standard fixes; the
// standard distributions are free to differ between libraries, which would change the data
// between machines.
class Draw
{
public:
    explicit Draw(std::uint32_t seed) : m_engine(seed) {}

    double uniform() { return double(m_engine()) / 4294967296.0; }
    double gaussian()
    {
        const double u1 = (double(m_engine()) + 1.0) / 4294967297.0;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * uniform());
    }

private:
    std::mt19937 m_engine;
};

class TokenTable : public CellSource
{
public:
    explicit TokenTable(const std::vector<VowelToken> &tokens) : m_tokens(tokens) {}

    int GetCellInt(int row, int column) const override
    {
        const VowelToken &token = m_tokens[std::size_t(row)];
        return column == 0 ? token.f1 : column == 1 ? token.f2 : column == 2 ? token.f3 : 0;
    }
    QString GetCellText(int row, int column) const override
    {
        return column == 3 ? m_tokens[std::size_t(row)].label : QString();
    }
    // Every token has its three formants: the file written holds them all.
    bool IsCellEmpty(int row, int column) const override
    {
        return column == 3 ? GetCellText(row, column).isEmpty() : GetCellInt(row, column) <= 0;
    }

private:
    const std::vector<VowelToken> &m_tokens;
};

} // namespace

std::vector<VowelToken> GenerateVowelTokens(int count, std::uint32_t seed)
{
    Draw draw(seed);
    std::vector<VowelToken> tokens;
    tokens.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const VowelMean &vowel = kMeans[std::size_t(i) % kMeans.size()];
        const auto &mean = (i / int(kMeans.size())) % 2 == 0 ? vowel.men : vowel.women;
        std::array<int, 3> formants{};
        for (std::size_t f = 0; f < 3; ++f) {
            const double value = mean[f] * (1.0 + kRelativeSpread[f] * draw.gaussian());
            // Three digits at least, or the file would not read back as a formant.
            formants[f] = std::clamp(int(std::lround(value)), 100, 9999);
        }
        tokens.push_back({formants[0], formants[1], formants[2], QString::fromUtf8(vowel.label)});
    }
    return tokens;
}

QByteArray FormantFileOf(const std::vector<VowelToken> &tokens)
{
    return FormatFormantText(TokenTable(tokens), int(tokens.size()));
}

QByteArray SpeakerTableText(int tokens, int speakers, std::uint32_t seed)
{
    Draw draw(seed);
    tokens = std::max(tokens, 0);
    speakers = std::clamp(speakers, 1, std::max(tokens, 1));
    QByteArray text("speaker\tvowel\tF1\tF2\tF3\n");
    text.reserve(qsizetype(tokens) * 24 + 32);
    const int perSpeaker = (tokens + speakers - 1) / speakers;
    double scale = 1.0;
    for (int i = 0; i < tokens; ++i) {
        const int speaker = i / perSpeaker;
        if (i % perSpeaker == 0)
            scale = 1.0 + 0.05 * draw.gaussian();
        const VowelMean &vowel = kMeans[std::size_t(i % perSpeaker) % kMeans.size()];
        const auto &mean = speaker % 2 == 0 ? vowel.men : vowel.women;
        std::array<long, 3> hz{};
        for (std::size_t f = 0; f < 3; ++f) {
            const double value = scale * mean[f] * (1.0 + kRelativeSpread[f] * draw.gaussian());
            hz[f] = std::clamp(std::lround(value), 100L, 9999L);
        }
        appendRow(text, speaker + 1, vowel.label, hz);
    }
    return text;
}

bool WriteVowelCorpus(const QString &path, int tokens, char separator)
{
    Draw draw(20261207);
    QByteArray out("speaker\tvowel\tF1\tF2\tF3\n");
    out.replace('\t', separator);
    out.reserve(qsizetype(tokens) * 23 + 64);
    double factor = 1.0;
    for (int i = 0; i < tokens; ++i) {
        if (i % kCorpusTokensPerSpeaker == 0) // a new speaker: men, women and children alike
            factor = 0.95 + 0.3 * draw.uniform();
        double pick = draw.uniform();
        std::size_t v = 0;
        while (v + 1 < kCorpusVowels.size() && pick >= kCorpusVowels[v].weight) {
            pick -= kCorpusVowels[v].weight;
            ++v;
        }
        const auto &mean = kMeans[kCorpusVowels[v].mean].men;
        std::array<long, 3> hz{};
        for (std::size_t f = 0; f < 3; ++f)
            hz[f] = std::lround(mean[f] * factor * (1.0 + kRelativeSpread[f] * draw.gaussian()));
        appendRow(out, i / kCorpusTokensPerSpeaker + 1, kCorpusVowels[v].label, hz, separator);
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
