#include "vowelsynth.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>

namespace {

constexpr double kPi = std::numbers::pi;

// Rosenberg's glottal flow over one period, phase 0..1: a raised cosine while opening, a
// quarter cosine while closing, then closed.
double glottalFlow(double phase, double open, double closing)
{
    if (phase < open)
        return 0.5 * (1 - std::cos(kPi * phase / open));
    if (phase < open + closing)
        return std::cos(0.5 * kPi * (phase - open) / closing);
    return 0;
}

// A digital resonator y[n] = a x[n] + b y[n-1] + c y[n-2], unity gain at 0 Hz.
struct Resonator
{
    double y1 = 0;
    double y2 = 0;

    double step(double x, double frequency, double bandwidth, double rate)
    {
        const double r = std::exp(-kPi * bandwidth / rate);
        const double c = -r * r;
        const double b = 2 * r * std::cos(2 * kPi * frequency / rate);
        const double a = 1 - b - c;
        const double y = a * x + b * y1 + c * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

std::array<double, 5> scaled(std::array<double, 3> f123, double f4, double f5)
{
    return {f123[0], f123[1], f123[2], std::max(f4, f123[2] + 400), std::max(f5, f123[2] + 1400)};
}

std::string number(double value)
{
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

std::string quoted(const std::string &text)
{
    std::string result = "\"";
    for (char c : text) {
        result += c;
        if (c == '"')
            result += '"';
    }
    return result + '"';
}

} // namespace

double SynthVowel::truth(int formant, double percent) const
{
    const auto f = std::size_t(std::clamp(formant, 0, 4));
    return start[f] + (end[f] - start[f]) * percent / 100;
}

std::vector<float> SynthesizeVowel(const SynthVoice &voice, const SynthVowel &vowel, double rate,
                                   std::uint32_t seed)
{
    const auto length = std::size_t(std::lround(vowel.duration * rate));
    std::vector<float> out(length);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    std::array<Resonator, 5> tract;
    double phase = 0;
    double previousFlow = 0;
    constexpr double kFade = 0.015;
    for (std::size_t n = 0; n < length; ++n) {
        const double t = double(n) / rate;
        const double x = vowel.duration > 0 ? t / vowel.duration : 0;
        const double f0 = voice.f0Start + (voice.f0End - voice.f0Start) * x;
        phase += f0 / rate;
        phase -= std::floor(phase);
        const double flow = glottalFlow(phase, voice.openPhase, voice.closingPhase);
        // The flow's derivative: what the lips radiate.
        double source = (flow - previousFlow) * rate / (kPi * f0);
        previousFlow = flow;
        if (voice.aspiration > 0)
            source += voice.aspiration * (0.3 + flow) * noise(random);
        double y = source;
        for (std::size_t k = 0; k < tract.size(); ++k) {
            const double f = vowel.start[k] + (vowel.end[k] - vowel.start[k]) * x;
            y = tract[k].step(y, f, voice.bandwidths[k], rate);
        }
        const double fade = std::min({1.0, t / kFade, (vowel.duration - t) / kFade});
        out[n] = float(y * std::max(0.0, fade));
    }
    float peak = 0;
    for (float v : out)
        peak = std::max(peak, std::abs(v));
    if (peak > 0) {
        for (float &v : out)
            v *= 0.5f / peak;
    }
    return out;
}

SynthRecording SynthesizeRecording(const SynthVoice &voice, const std::vector<SynthVowel> &vowels,
                                   double rate, std::uint32_t seed, double pause)
{
    SynthRecording recording;
    recording.rate = rate;
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 0.0005);
    const auto addPause = [&] {
        for (long i = 0; i < std::lround(pause * rate); ++i)
            recording.samples.push_back(float(noise(random)));
    };
    addPause();
    for (std::size_t i = 0; i < vowels.size(); ++i) {
        const std::vector<float> vowel =
            SynthesizeVowel(voice, vowels[i], rate, seed + std::uint32_t(i) * 7919u);
        SynthRecording::Token token;
        token.vowel = vowels[i];
        // Built and moved in whole: assigning a literal here trips a false overlap warning
        // in GCC 12's string code.
        std::string word(1, 'w');
        word += std::to_string(i + 1);
        token.word = std::move(word);
        token.start = double(recording.samples.size()) / rate;
        for (float v : vowel)
            recording.samples.push_back(v + float(noise(random)));
        token.end = double(recording.samples.size()) / rate;
        recording.tokens.push_back(token);
        addPause();
    }
    return recording;
}

std::vector<SynthVoice> StandardVoices()
{
    return {VoiceNamed("male"), VoiceNamed("female"), VoiceNamed("child"), VoiceNamed("breathy")};
}

SynthVoice VoiceNamed(const std::string &name)
{
    SynthVoice voice;
    voice.name = name;
    if (name == "female" || name == "breathy") {
        voice.f0Start = 220;
        voice.f0End = 190;
        voice.bandwidths = {70, 100, 140, 220, 280};
    } else if (name == "child") {
        voice.f0Start = 300;
        voice.f0End = 260;
        voice.bandwidths = {80, 110, 160, 250, 300};
    }
    if (name == "breathy") {
        voice.openPhase = 0.5;
        voice.closingPhase = 0.35;
        voice.aspiration = 0.15;
        voice.bandwidths[0] += 60;
        voice.bandwidths[1] += 40;
    }
    return voice;
}

std::vector<SynthVowel> StandardVowels(const SynthVoice &voice, bool glides)
{
    struct Means
    {
        const char *label;
        std::array<double, 3> men, women, children;
    };
    // Means of F1-F3 for American English vowels in /hVd/ words (after Hillenbrand et al.
    // 1995), rounded.
    static const Means kMeans[] = {
        {"i", {342, 2322, 3000}, {437, 2761, 3372}, {452, 3081, 3702}},
        {"I", {427, 2034, 2684}, {483, 2365, 3053}, {511, 2552, 3403}},
        {"e", {476, 2089, 2691}, {536, 2530, 3047}, {564, 2656, 3323}},
        {"E", {580, 1799, 2605}, {731, 2058, 2979}, {749, 2267, 3310}},
        {"ae", {588, 1952, 2601}, {669, 2349, 2972}, {717, 2501, 3289}},
        {"a", {768, 1333, 2522}, {936, 1551, 2815}, {1002, 1688, 2950}},
        {"O", {652, 997, 2538}, {781, 1136, 2824}, {803, 1210, 2982}},
        {"o", {497, 910, 2459}, {555, 1035, 2828}, {597, 1137, 2987}},
        {"U", {469, 1122, 2434}, {519, 1225, 2827}, {568, 1490, 3072}},
        {"u", {378, 997, 2343}, {459, 1105, 2735}, {494, 1345, 2988}},
        {"V", {623, 1200, 2550}, {753, 1426, 2933}, {749, 1546, 3145}},
        {"3r", {474, 1379, 1710}, {523, 1588, 1929}, {586, 1719, 2143}},
    };
    const bool female = voice.name == "female" || voice.name == "breathy";
    const bool child = voice.name == "child";
    const double f4 = child ? 4700 : female ? 4200 : 3500;
    const double f5 = child ? 5900 : female ? 5200 : 4500;
    const auto formants = [&](const Means &m) {
        return scaled(child ? m.children : female ? m.women : m.men, f4, f5);
    };
    std::vector<SynthVowel> vowels;
    for (const Means &m : kMeans) {
        SynthVowel vowel;
        vowel.label = m.label;
        vowel.start = vowel.end = formants(m);
        vowel.duration = 0.22;
        vowels.push_back(vowel);
    }
    if (glides) {
        // Diphthongs as straight glides between two of the vowels above.
        const std::pair<const char *, std::pair<int, int>> kGlides[] = {
            {"ai", {5, 1}}, {"au", {5, 8}}, {"oi", {6, 1}}, {"ei", {2, 0}}, {"ou", {7, 9}}};
        for (const auto &[label, ends] : kGlides) {
            SynthVowel vowel;
            vowel.label = label;
            vowel.start = formants(kMeans[ends.first]);
            vowel.end = formants(kMeans[ends.second]);
            vowel.duration = 0.28;
            vowels.push_back(vowel);
        }
    }
    return vowels;
}

bool WriteWav(const std::string &path, const std::vector<float> &samples, double rate, int channels)
{
    SF_INFO info{};
    info.samplerate = int(std::lround(rate));
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = sf_count_t(samples.size()) / channels;
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    return sf_close(file) == 0 && written == frames;
}

std::string TextGridText(const SynthRecording &recording)
{
    struct Interval
    {
        double start, end;
        std::string text;
    };
    std::vector<Interval> vowels;
    std::vector<Interval> words;
    double at = 0;
    for (const SynthRecording::Token &token : recording.tokens) {
        if (token.start > at) {
            vowels.push_back({at, token.start, ""});
            words.push_back({at, token.start, ""});
        }
        vowels.push_back({token.start, token.end, token.vowel.label});
        words.push_back({token.start, token.end, token.word});
        at = token.end;
    }
    const double end = recording.duration();
    if (end > at) {
        vowels.push_back({at, end, ""});
        words.push_back({at, end, ""});
    }
    std::string text = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\nxmin = 0 \n"
                       "xmax = " +
                       number(end) + " \ntiers? <exists> \nsize = 2 \nitem []: \n";
    const auto tier = [&](int index, const char *name, const std::vector<Interval> &items) {
        text += "    item [" + std::to_string(index) +
                "]:\n        class = \"IntervalTier\" \n"
                "        name = " +
                quoted(name) + " \n        xmin = 0 \n        xmax = " + number(end) +
                " \n        intervals: size = " + std::to_string(items.size()) + " \n";
        for (std::size_t i = 0; i < items.size(); ++i)
            text += "        intervals [" + std::to_string(i + 1) +
                    "]:\n            xmin = " + number(items[i].start) +
                    " \n            xmax = " + number(items[i].end) +
                    " \n            text = " + quoted(items[i].text) + " \n";
    };
    tier(1, "vowel", vowels);
    tier(2, "word", words);
    return text;
}

bool WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}
