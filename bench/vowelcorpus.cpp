#include "vowelcorpus.h"

#include <QSaveFile>

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <random>

namespace {

struct CorpusVowel
{
    const char *label;
    std::array<double, 3> hz; // F1, F2, F3 of an average adult male speaker
    double weight;            // how often the vowel is drawn
};

constexpr std::array<CorpusVowel, 10> kVowels{{
    {"i", {270, 2290, 3010}, 0.16},
    {"I", {390, 1990, 2550}, 0.12},
    {"e", {530, 1840, 2480}, 0.10},
    {"E", {660, 1720, 2410}, 0.08},
    {"a", {730, 1090, 2440}, 0.14},
    {"O", {570, 840, 2410}, 0.06},
    {"U", {440, 1020, 2240}, 0.05},
    {"u", {300, 870, 2240}, 0.12},
    {"V", {640, 1190, 2390}, 0.09},
    {"R", {490, 1350, 1690}, 0.08},
}};

constexpr int kTokensPerSpeaker = 500;

// mt19937 output is fixed by the standard; the distributions are not, so they are made here.
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

void appendInt(QByteArray &out, long value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
}

} // namespace

bool WriteVowelCorpus(const QString &path, int tokens)
{
    Draw draw(20261207);
    QByteArray out("speaker\tvowel\tF1\tF2\tF3\n");
    out.reserve(qsizetype(tokens) * 23 + 64);
    double factor = 1.0;
    for (int i = 0; i < tokens; ++i) {
        if (i % kTokensPerSpeaker == 0) // a new speaker: men, women and children alike
            factor = 0.95 + 0.3 * draw.uniform();
        double pick = draw.uniform();
        std::size_t v = 0;
        while (v + 1 < kVowels.size() && pick >= kVowels[v].weight) {
            pick -= kVowels[v].weight;
            ++v;
        }
        char name[8];
        const int speaker = i / kTokensPerSpeaker + 1;
        name[0] = 's';
        for (int d = 4, n = speaker; d >= 1; --d, n /= 10)
            name[d] = char('0' + n % 10);
        out.append(name, 5).append('\t').append(kVowels[v].label);
        for (std::size_t f = 0; f < 3; ++f) {
            const double spread = f == 0 ? 0.08 : f == 1 ? 0.06 : 0.05;
            out.append('\t');
            appendInt(out,
                      std::lround(kVowels[v].hz[f] * factor * (1.0 + spread * draw.gaussian())));
        }
        out.append('\n');
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}
