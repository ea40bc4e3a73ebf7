// The automatic ceiling: its grid, its regularity measure, and its choice on synthetic
// vowels where one fixed ceiling fails.

#include "measure/ceilingchoice.h"
#include "measure/tokenmeasurer.h"

#include "vowelsynth.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CeilingChoice, StepsAreLogSpacedWholeHertzOverTheRange)
{
    const std::vector<double> steps = CeilingSteps(4500, 7000, 8);
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps.front(), 4500);
    EXPECT_EQ(steps.back(), 7000);
    const double ratio = std::pow(7000.0 / 4500.0, 1.0 / 7);
    for (std::size_t i = 1; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i], std::round(steps[i]));
        EXPECT_NEAR(steps[i] / steps[i - 1], ratio, 1e-3);
    }
    EXPECT_EQ(CeilingSteps(5000, 5000, 8), std::vector<double>{5000});
    EXPECT_TRUE(CeilingSteps(6000, 5000, 8).empty());
}

std::vector<FormantFrame> track(const std::vector<std::array<double, 3>> &values,
                                double bandwidth = 80)
{
    std::vector<FormantFrame> frames;
    for (const auto &v : values)
        frames.push_back({v, {bandwidth, bandwidth, bandwidth}});
    return frames;
}

TEST(CeilingChoice, GlidesAreRegularJumpsAndGapsAreNot)
{
    std::vector<double> times;
    std::vector<std::array<double, 3>> glide, jumping, gappy;
    for (int j = 0; j < 20; ++j) {
        times.push_back(0.005 * j);
        const double x = j / 19.0;
        // An exponential glide is a straight line in log frequency: no residual at all.
        glide.push_back({700 * std::pow(0.6, x), 1200 * std::pow(1.6, x), 2500});
        jumping.push_back({500, j % 3 ? 1500.0 : 2400.0, 2500});
        gappy.push_back({500, 1500, j % 2 ? 2500 : NAN});
    }
    EXPECT_NEAR(TrackIrregularity(track(glide), times), 0, 1e-9);
    EXPECT_GT(TrackIrregularity(track(jumping), times), 0.1);
    // Missing in half the frames: never chosen over an analysis that has the formant.
    EXPECT_TRUE(std::isinf(TrackIrregularity(track(gappy), times)));
    // So is a track of resonances too wide to be formants.
    EXPECT_TRUE(std::isinf(TrackIrregularity(track(glide, 900), times)));
    EXPECT_TRUE(std::isinf(TrackIrregularity({}, {})));
}

// F3 within 10% of the truth, on the monophthongs of `voice` at 16 kHz.
int f3Hits(const char *voiceName, const std::vector<double> &ceilings, int &tokens)
{
    const SynthVoice voice = VoiceNamed(voiceName);
    const std::vector<SynthVowel> vowels = StandardVowels(voice, false);
    const SynthRecording recording = SynthesizeRecording(voice, vowels, 16000, 5);
    AudioSignal audio;
    audio.samples = recording.samples;
    audio.sampleRate = recording.rate;
    TokenMeasurer::Settings settings;
    settings.ceilings = ceilings;
    TokenMeasurer measurer(audio, settings);
    int hits = 0;
    tokens = 0;
    const std::vector<double> middle{50};
    for (const SynthRecording::Token &token : recording.tokens) {
        const TokenMeasurer::Result result = measurer.measure(token.start, token.end, middle);
        const double truth = token.vowel.truth(2, 50);
        hits += std::abs(result.frequencies[0][2] - truth) <= 0.1 * truth;
        ++tokens;
    }
    return hits;
}

TEST(CeilingChoice, ChildVowelsFindTheirThirdFormantWhereOneFixedCeilingFails)
{
    int tokens = 0;
    const int fixed = f3Hits("child", {5500}, tokens);
    EXPECT_LT(fixed, tokens / 2) << "the fixed ceiling should fail on these vowels";
    const int automatic = f3Hits("child", CeilingSteps(4500, 7000, 10), tokens);
    EXPECT_GE(automatic, tokens * 9 / 10) << automatic << " of " << tokens;
    // A man's vowels keep theirs with the automatic choice too.
    EXPECT_EQ(f3Hits("male", CeilingSteps(4500, 7000, 10), tokens), tokens);
}

} // namespace
