// Speaker normalisation: each method on small tables worked by hand, the difference the
// balanced variants make for unbalanced vowels, and speakers that must be refused with a
// message while the others are still normalised.

#include "analysis/normalization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>
#include <unistd.h>

namespace {

const double kNaN = std::nan("");

struct Token
{
    int speaker;
    int vowel;
    double f1;
    double f2 = kNaN;
};

// Speakers A, B, C ... and vowels i, a, u, e ... by index.
TokenColumns makeTokens(const std::vector<Token> &list, bool withF2 = false)
{
    TokenColumns tokens;
    int speakers = 0;
    int vowels = 0;
    for (const Token &t : list) {
        tokens.speaker.push_back(t.speaker);
        tokens.vowel.push_back(t.vowel);
        tokens.column(Formant::F1).push_back(t.f1);
        if (withF2)
            tokens.column(Formant::F2).push_back(t.f2);
        speakers = std::max(speakers, t.speaker + 1);
        vowels = std::max(vowels, t.vowel + 1);
    }
    for (int s = 0; s < speakers; ++s)
        tokens.speakerNames << QString(QChar('A' + s));
    const QStringList names{"i", "a", "u", "e", "o"};
    tokens.vowelNames = names.mid(0, vowels);
    EXPECT_TRUE(tokens.validate().isEmpty()) << tokens.validate().toStdString();
    return tokens;
}

const std::vector<double> &f1Of(const NormalizationResult &result)
{
    return result.values[std::size_t(Formant::F1)];
}

TEST(Normalization, LobanovWeighsTokensOrVowelsAndSkipsMissingValues)
{
    // Three i at 300 Hz and one a at 700 Hz: over tokens mean 400, SD 200; over the vowel
    // means mean 500, SD 200 sqrt 2.
    const TokenColumns tokens = makeTokens({{0, 0, 300}, {0, 0, 300}, {0, 0, 300}, {0, 1, 700}});
    const auto tokenWeighted = normalize(tokens, NormalizationMethod::Lobanov, {Formant::F1});
    ASSERT_TRUE(tokenWeighted.valid());
    EXPECT_DOUBLE_EQ(f1Of(tokenWeighted)[0], -0.5);
    EXPECT_DOUBLE_EQ(f1Of(tokenWeighted)[3], 1.5);
    const auto balanced = normalize(tokens, NormalizationMethod::LobanovBalanced, {Formant::F1});
    EXPECT_DOUBLE_EQ(f1Of(balanced)[0], -std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(f1Of(balanced)[3], std::sqrt(0.5));
    EXPECT_TRUE(balanced.messages.isEmpty());

    // Missing values are skipped and counted: without them the mean is 400 and the SD 100.
    const TokenColumns gaps = makeTokens({{0, 0, 300}, {0, 0, kNaN}, {0, 1, 500}, {0, 1, kNaN}});
    const auto skipped = normalize(gaps, NormalizationMethod::Lobanov, {Formant::F1});
    EXPECT_EQ(skipped.skipped[std::size_t(Formant::F1)], 2u);
    EXPECT_DOUBLE_EQ(f1Of(skipped)[0], -std::sqrt(2.0) / 2.0);
    EXPECT_TRUE(std::isnan(f1Of(skipped)[1]));
    EXPECT_TRUE(skipped.messages.isEmpty());
}

TEST(Normalization, RefusedSpeakersGetNoValuesAndAMessage)
{
    // A is fine; B has two equal values (SD 0); C has one vowel (fine over tokens, not for
    // a method on vowel means).
    const TokenColumns tokens =
        makeTokens({{0, 0, 300}, {0, 1, 500}, {1, 0, 400}, {1, 1, 400}, {2, 0, 300}, {2, 0, 350}});
    const auto lobanov = normalize(tokens, NormalizationMethod::Lobanov, {Formant::F1});
    EXPECT_EQ(lobanov.refused, (std::vector<bool>{false, true, false}));
    ASSERT_EQ(lobanov.messages.size(), 1);
    EXPECT_TRUE(lobanov.messages[0].contains(QStringLiteral("\"B\"")));
    EXPECT_TRUE(std::isnan(f1Of(lobanov)[2]));
    EXPECT_DOUBLE_EQ(f1Of(lobanov)[0], -std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(f1Of(lobanov)[5], std::sqrt(0.5));

    // B's equal values stop the methods that divide by a spread, not the log-mean.
    const std::vector<std::pair<NormalizationMethod, std::vector<bool>>> cases{
        {NormalizationMethod::LobanovBalanced, {false, true, true}},
        {NormalizationMethod::Nearey1Balanced, {false, false, true}},
        {NormalizationMethod::Gerstman, {false, true, true}}};
    for (const auto &[method, refused] : cases) {
        const auto result = normalize(tokens, method, {Formant::F1});
        EXPECT_EQ(result.refused, refused) << normalizationMethodInfo(method).name;
        EXPECT_TRUE(
            result.messages.last().contains(QStringLiteral("\"C\" not normalised: F1 has 1 vowel")))
            << result.messages.last().toStdString();
        for (std::size_t i = 4; i < 6; ++i)
            EXPECT_TRUE(std::isnan(f1Of(result)[i]));
    }
}

TEST(Normalization, NeareyLogMeans)
{
    // 100 and 1000 Hz: the log-mean lies halfway, ln sqrt(10) from each.
    const TokenColumns one = makeTokens({{0, 0, 100}, {0, 1, 1000}});
    const auto nearey1 = normalize(one, NormalizationMethod::Nearey1, {Formant::F1});
    EXPECT_NEAR(f1Of(nearey1)[0], -std::log(std::sqrt(10.0)), 1e-15);
    EXPECT_NEAR(f1Of(nearey1)[1], std::log(std::sqrt(10.0)), 1e-15);

    // nearey2 shares one G over F1 and F2: mean of ln 100, ln 1000, ln 1000, ln 10000.
    const TokenColumns two = makeTokens({{0, 0, 100, 1000}, {0, 1, 1000, 10000}}, true);
    const auto nearey2 = normalize(two, NormalizationMethod::Nearey2, {Formant::F1, Formant::F2});
    EXPECT_NEAR(f1Of(nearey2)[0], std::log(0.1), 1e-14);
    EXPECT_NEAR(nearey2.values[std::size_t(Formant::F2)][1], std::log(10.0), 1e-14);

    // Unbalanced: a second i token at 100 Hz pulls the token log-mean, not the balanced one.
    const TokenColumns unbalanced =
        makeTokens({{0, 0, 100, 1000}, {0, 0, 100, 1000}, {0, 1, 1000, 10000}}, true);
    const auto balanced =
        normalize(unbalanced, NormalizationMethod::Nearey2Balanced, {Formant::F1, Formant::F2});
    EXPECT_NEAR(f1Of(balanced)[0], std::log(0.1), 1e-14);
    const auto weighted =
        normalize(unbalanced, NormalizationMethod::Nearey2, {Formant::F1, Formant::F2});
    // G = (2 ln 100 + ln 1000 + 2 ln 1000 + ln 10000) / 6 = ln 10^(17/6).
    EXPECT_NEAR(f1Of(weighted)[0], std::log(100.0) - 17.0 / 6.0 * std::log(10.0), 1e-14);
}

TEST(Normalization, LogMethodsRefuseNonPositiveFrequencies)
{
    const TokenColumns tokens =
        makeTokens({{0, 0, 300}, {0, 1, 0}, {1, 0, 300}, {1, 1, 600}, {2, 0, -5}, {2, 1, 9}});
    for (NormalizationMethod method :
         {NormalizationMethod::Nearey1, NormalizationMethod::Nearey1Balanced,
          NormalizationMethod::Nearey2, NormalizationMethod::Nearey2Balanced}) {
        const auto result = normalize(tokens, method, {Formant::F1});
        EXPECT_EQ(result.refused, (std::vector<bool>{true, false, true}));
        EXPECT_EQ(result.messages.size(), 2);
        EXPECT_NEAR(f1Of(result)[3], std::log(std::sqrt(2.0)), 1e-15);
        for (double v : f1Of(result))
            EXPECT_TRUE(std::isnan(v) || std::isfinite(v));
    }
}

TEST(Normalization, WattFabriciusCornersWithTies)
{
    // Vowel means: i (300, 2400), e (400, 2500), a (800, 1400), o (800, 1200), u (300, 800).
    // Corner i = (300, 2500) from two vowels; a = (800, 1300) averaging the tied a and o;
    // u' = (300, 300). S1 = 1400/3, S2 = 4100/3; modified S2 = (2500 + 300)/2.
    const TokenColumns tokens = makeTokens({{0, 0, 280, 2300},
                                            {0, 0, 320, 2500},
                                            {0, 3, 400, 2500},
                                            {0, 1, 800, 1400},
                                            {0, 4, 800, 1200},
                                            {0, 2, 300, 800}},
                                           true);
    const auto wf =
        normalize(tokens, NormalizationMethod::WattFabricius, {Formant::F1, Formant::F2});
    ASSERT_TRUE(wf.valid());
    EXPECT_DOUBLE_EQ(f1Of(wf)[3], 800.0 / (1400.0 / 3.0));
    EXPECT_DOUBLE_EQ(wf.values[std::size_t(Formant::F2)][3], 1400.0 / (4100.0 / 3.0));
    const auto modified =
        normalize(tokens, NormalizationMethod::WattFabriciusModified, {Formant::F1, Formant::F2});
    EXPECT_DOUBLE_EQ(f1Of(modified)[3], 800.0 / (1400.0 / 3.0));
    EXPECT_DOUBLE_EQ(modified.values[std::size_t(Formant::F2)][3], 1400.0 / 1400.0);

    const auto withF3 =
        normalize(tokens, NormalizationMethod::WattFabricius, {Formant::F1, Formant::F3});
    EXPECT_FALSE(withF3.valid());
    EXPECT_EQ(withF3.messages.size(), 1);
}

TEST(Normalization, GerstmanSpansTheVowelMeans)
{
    // Vowel means 300 and 800 (the i tokens average 300): 550 Hz lies halfway. (A speaker
    // whose vowel means are all equal is refused: RefusedSpeakersGetNoValuesAndAMessage.)
    const TokenColumns tokens = makeTokens({{0, 0, 250}, {0, 0, 350}, {0, 1, 800}, {0, 2, 550}});
    const auto result = normalize(tokens, NormalizationMethod::Gerstman, {Formant::F1});
    EXPECT_DOUBLE_EQ(f1Of(result)[0], -99.9);
    EXPECT_DOUBLE_EQ(f1Of(result)[2], 999.0);
    EXPECT_DOUBLE_EQ(f1Of(result)[3], 499.5);
}

TEST(Normalization, LargeInputsMatchOneFormantAtATime)
{
    // Large inputs run one formant a thread; a speaker refused for F2 (B: constant F2)
    // must still lose its F1 values, exactly as in one run.
    TokenColumns tokens;
    tokens.speakerNames = {"A", "B", "C"};
    tokens.vowelNames = {"i", "a"};
    for (int i = 0; i < 210000; ++i) {
        const int speaker = i % 3;
        tokens.speaker.push_back(speaker);
        const int vowel = i % 7 < 3 ? 0 : 1;
        tokens.vowel.push_back(vowel);
        tokens.column(Formant::F1).push_back(300.0 + 200 * vowel + (i * 37) % 400);
        tokens.column(Formant::F2)
            .push_back(speaker == 1 ? 1500.0 : 900.0 + 300 * vowel + (i * 53) % 1500);
    }
    for (NormalizationMethod method :
         {NormalizationMethod::Lobanov, NormalizationMethod::Gerstman}) {
        const auto both = normalize(tokens, method, {Formant::F1, Formant::F2});
        const auto f1 = normalize(tokens, method, {Formant::F1});
        const auto f2 = normalize(tokens, method, {Formant::F2});
        EXPECT_EQ(both.refused, (std::vector<bool>{false, true, false}));
        EXPECT_EQ(both.messages, f2.messages);
        for (std::size_t i = 0; i < 30; ++i) {
            if (i % 3 == 1) {
                EXPECT_TRUE(std::isnan(f1Of(both)[i]));
                continue;
            }
            EXPECT_EQ(f1Of(both)[i], f1Of(f1)[i]);
            EXPECT_EQ(both.values[std::size_t(Formant::F2)][i],
                      f2.values[std::size_t(Formant::F2)][i]);
        }
    }
}

TEST(Normalization, InvalidRequestsSayWhy)
{
    const TokenColumns tokens = makeTokens({{0, 0, 300}, {0, 1, 500}});
    EXPECT_FALSE(normalize(tokens, NormalizationMethod::Lobanov, {Formant::F2}).valid());
    EXPECT_FALSE(normalize(tokens, NormalizationMethod::Lobanov, {}).valid());
    EXPECT_FALSE(
        normalize(tokens, NormalizationMethod::Lobanov, {Formant::F1, Formant::F1}).valid());
    EXPECT_EQ(defaultNormalizationFormants(NormalizationMethod::Lobanov, tokens),
              (std::vector<Formant>{Formant::F1, Formant::F2}));
    for (const NormalizationMethodInfo &info : normalizationMethods())
        EXPECT_EQ(parseNormalizationMethod(QString::fromLatin1(info.name)), info.method);
}

} // namespace

#if !defined(__SANITIZE_ADDRESS__)
// Pages of address space the process holds now.
long addressSpacePages()
{
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages;
}

// In a child process: caps the address space just above what is in use, normalises, and
// exits 0 when the result is the out-of-memory message.
[[noreturn]] void normalizeWithoutRoom(const TokenColumns &tokens)
{
    const long page = sysconf(_SC_PAGESIZE);
    const auto cap = rlim_t(addressSpacePages() * page + (64 << 10));
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    const NormalizationResult result =
        normalize(tokens, NormalizationMethod::Lobanov, {Formant::F1, Formant::F2, Formant::F3});
    const bool told = !result.valid() && result.messages.size() == 1 &&
                      result.messages[0].startsWith("not enough memory");
    std::_Exit(told ? 0 : 1);
}
#endif

// Out of memory once ended the program from a worker thread; it is a message now, in the
// one-thread and the side-by-side runs alike. The address space is capped in a child
// process so that the test's own process is untouched.
TEST(NormalizationDeathTest, OutOfMemoryIsAMessageNotTheEndOfTheProgram)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator reports instead of throwing";
#else
    for (const std::size_t count : {std::size_t(50000), std::size_t(300000)}) {
        TokenColumns tokens;
        tokens.speaker.assign(count, 0);
        tokens.vowel.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            tokens.vowel[i] = int(i % 2);
        for (Formant f : {Formant::F1, Formant::F2, Formant::F3}) {
            tokens.column(f).resize(count);
            for (std::size_t i = 0; i < count; ++i)
                tokens.column(f)[i] = 300.0 * int(f) + double(i % 97);
        }
        tokens.speakerNames = {"A"};
        tokens.vowelNames = {"i", "a"};
        EXPECT_EXIT(normalizeWithoutRoom(tokens), ::testing::ExitedWithCode(0), "") << count;
    }
#endif
}
