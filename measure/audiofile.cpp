#include "measure/audiofile.h"

#include "measure/sndfilelibrary.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct SndfileCloser
{
    const SndfileLibrary *library;
    void operator()(SNDFILE *file) const { library->close(file); }
};

// Below this a file cannot be analysed at all: one LPC frame needs a few hundred samples of
// speech at twice the formant ceiling.
constexpr int kMinimumRate = 4000;

} // namespace

AudioReadResult ReadAudioFile(const QString &path, int channel)
{
    return ReadAudioFile(path, channel, SndfileLibrary::instance());
}

AudioReadResult ReadAudioFile(const QString &path, int channel, const SndfileLibrary &library)
{
    AudioReadResult result;
    if (!library.ok()) {
        result.error = library.error();
        return result;
    }
    SF_INFO info{};
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<SNDFILE, SndfileCloser> file(library.open(name.constData(), SFM_READ, &info),
                                                 SndfileCloser{&library});
    if (!file) {
        result.error = QStringLiteral("cannot be read as audio: %1")
                           .arg(QString::fromUtf8(library.strerror(nullptr)));
        return result;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        result.error = QStringLiteral("has no channels or no sampling rate");
        return result;
    }
    if (info.samplerate < kMinimumRate) {
        result.error = QStringLiteral("is sampled at %1 Hz; measuring needs at least %2 Hz")
                           .arg(info.samplerate)
                           .arg(kMinimumRate);
        return result;
    }
    if (channel < 0 || channel >= info.channels) {
        result.error = QStringLiteral("has %1 channel(s); there is no channel %2")
                           .arg(info.channels)
                           .arg(channel + 1);
        return result;
    }
    // Integer files come in as -1..1; float files are taken as they are.
    library.command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);

    AudioSignal &signal = result.signal;
    signal.sampleRate = info.samplerate;
    signal.channels = info.channels;
    // The header's frame count may promise more than a cut-off file holds: read blocks until
    // the file ends rather than trust it.
    constexpr sf_count_t kBlockFrames = 65536;
    std::vector<float> block(std::size_t(kBlockFrames) * std::size_t(info.channels));
    if (info.frames > 0 && info.frames < (sf_count_t(1) << 31))
        signal.samples.reserve(std::size_t(info.frames));
    for (;;) {
        const sf_count_t frames = library.readfFloat(file.get(), block.data(), kBlockFrames);
        if (frames <= 0)
            break;
        for (sf_count_t i = 0; i < frames; ++i)
            signal.samples.push_back(block[std::size_t(i * info.channels + channel)]);
    }
    if (signal.samples.empty()) {
        result.error = QStringLiteral("holds no samples");
        result.signal = {};
        return result;
    }
    // NaN or infinite samples in a float file would poison every frame around them.
    for (float &sample : signal.samples) {
        if (!std::isfinite(sample))
            sample = 0;
    }
    return result;
}
