#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Synthetic vowels with exactly known formants, for the measurement's tests, its benchmarks
// and the shipped example: a glottal pulse train (Rosenberg's shape, differentiated for lip
// radiation) through five cascaded second-order resonators whose frequencies may glide
// linearly, with aspiration noise for a breathy voice. Plain C++; writes WAV through
// libsndfile and TextGrids as text.

struct SynthVoice
{
    std::string name;     // "male", "female", "child", "breathy"
    double f0Start = 120; // Hz, at the vowel's start
    double f0End = 100;   // Hz, at its end (a falling contour)
    std::array<double, 5> bandwidths{60, 90, 120, 200, 250};
    double openPhase = 0.40;    // of the period: the flow rises
    double closingPhase = 0.16; // of the period: the flow falls; a longer fall is breathier
    double aspiration = 0;      // noise amplitude relative to the pulses' peak
};

struct SynthVowel
{
    std::string label;
    std::array<double, 5> start{}; // F1-F5 in Hz at the start
    std::array<double, 5> end{};   // ... at the end; equal to start for a monophthong
    double duration = 0.2;         // s

    // The true formant `formant` (0 = F1) at `percent` of the vowel.
    double truth(int formant, double percent) const;
};

// One vowel with 15 ms fades at both ends. `seed` makes the noise repeatable.
std::vector<float> SynthesizeVowel(const SynthVoice &voice, const SynthVowel &vowel, double rate,
                                   std::uint32_t seed);

// A recording of vowels with pauses of faint noise between them, and where each vowel lies.
struct SynthRecording
{
    struct Token
    {
        SynthVowel vowel;
        std::string word; // a context label
        double start = 0; // s
        double end = 0;
    };
    double rate = 16000;
    std::vector<float> samples;
    std::vector<Token> tokens;
    double duration() const { return double(samples.size()) / rate; }
};

SynthRecording SynthesizeRecording(const SynthVoice &voice, const std::vector<SynthVowel> &vowels,
                                   double rate, std::uint32_t seed, double pause = 0.12);

// The voices the tests and benchmarks use: male, female, child and a breathy female voice.
std::vector<SynthVoice> StandardVoices();
SynthVoice VoiceNamed(const std::string &name);
// Monophthongs (twelve vowels of American English) and five glides for a voice, with
// formants from published means for men, women and children; F4 and F5 as the voice has.
std::vector<SynthVowel> StandardVowels(const SynthVoice &voice, bool glides);

// 16-bit WAV, `channels` interleaved in `samples`; false when it cannot be written.
bool WriteWav(const std::string &path, const std::vector<float> &samples, double rate,
              int channels = 1);
// A long-format TextGrid with an interval tier "vowel" (the tokens) and "word" (their
// words), empty intervals between them.
std::string TextGridText(const SynthRecording &recording);
bool WriteText(const std::string &path, const std::string &text);
