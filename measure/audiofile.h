#pragma once

#include <QString>

#include <vector>

class SndfileLibrary;

// One channel of a recording, read through libsndfile (WAV, FLAC, AIFF, Ogg and the other
// formats it knows), as floating-point samples in -1..1. Owns its samples.
struct AudioSignal
{
    std::vector<float> samples;
    double sampleRate = 0;
    int channels = 0; // how many the file had

    double duration() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0; }
};

struct AudioReadResult
{
    AudioSignal signal; // filled only when `error` is empty
    QString error;      // why the file cannot be measured, for a message naming it

    bool ok() const { return error.isEmpty(); }
};

// Reads channel `channel` (0 = the first) of the file at `path`. A file that stops before its
// header says it ends is read as far as it goes; one with no samples at all is an error.
// Loads libsndfile the first time; without it, every file is an error naming the library.
AudioReadResult ReadAudioFile(const QString &path, int channel = 0);
// The same through `library` rather than the process's own.
AudioReadResult ReadAudioFile(const QString &path, int channel, const SndfileLibrary &library);
