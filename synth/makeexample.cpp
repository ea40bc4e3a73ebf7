// Writes the example recordings for `tessavox-batch measure`: a man's and a child's vowels,
// synthesised with known formants, each with its TextGrid. Usage: make-measure-example DIR

#include "vowelsynth.h"

#include <iostream>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: make-measure-example DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    std::uint32_t seed = 2026;
    for (const char *name : {"man", "child"}) {
        const SynthVoice voice = VoiceNamed(name == std::string("man") ? "male" : "child");
        const SynthRecording recording =
            SynthesizeRecording(voice, StandardVowels(voice, true), 16000, seed++);
        const std::string base = dir + "/" + name;
        if (!WriteWav(base + ".wav", recording.samples, recording.rate) ||
            !WriteText(base + ".TextGrid", TextGridText(recording))) {
            std::cerr << "make-measure-example: cannot write " << base << ".*\n";
            return 1;
        }
    }
    return 0;
}
