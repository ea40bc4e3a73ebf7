// The audio libraries are opened at run time: a missing library or function must turn into
// a message naming it, never a crash nor a silent measurement of nothing.

#include "measure/audiofile.h"
#include "measure/resampler.h"
#include "measure/sndfilelibrary.h"
#include "measure/soxrlibrary.h"

#include "vowelsynth.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr const char *kAbsent = "libtessavox-absent.so.7";

TEST(AudioLibraries, MissingLibraryIsNamedWithWhatToInstallAndNothingIsCalled)
{
    const SndfileLibrary sndfile{QString::fromLatin1(kAbsent)};
    const SoxrLibrary soxr{QString::fromLatin1(kAbsent)};
    for (const auto &[library, package] : {std::pair{&sndfile.error(), "install libsndfile1"},
                                           {&soxr.error(), "install libsoxr0"}}) {
        // dlerror()'s own text comes through between the name and the advice.
        EXPECT_TRUE(library->startsWith(QStringLiteral("cannot load %1: ").arg(kAbsent)))
            << library->toStdString();
        EXPECT_TRUE(library->contains(QStringLiteral("No such file")) ||
                    library->contains(QStringLiteral("cannot open")))
            << library->toStdString();
        EXPECT_TRUE(library->endsWith(QString::fromLatin1(package))) << library->toStdString();
    }
    EXPECT_FALSE(sndfile.ok());
    EXPECT_FALSE(soxr.ok());

    // A real recording through the absent library: an error, not a read.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wav = dir.filePath("a.wav");
    ASSERT_TRUE(WriteWav(wav.toStdString(), std::vector<float>(1600, 0.25f), 16000));
    const AudioReadResult read = ReadAudioFile(wav, 0, sndfile);
    EXPECT_EQ(read.error, sndfile.error());
    EXPECT_TRUE(read.signal.samples.empty());
    EXPECT_TRUE(ReadAudioFile(wav).ok());

    // A converter that would need libsoxr says why it cannot convert; one that need not
    // convert works without it.
    Resampler converting(16000, 11000, soxr);
    EXPECT_EQ(converting.error(), soxr.error());
    EXPECT_EQ(converting.process(std::vector<float>(160, 1.0f)), std::vector<float>(110, 0.0f));
    Resampler copying(16000, 16000, soxr);
    EXPECT_TRUE(copying.error().isEmpty());
    EXPECT_EQ(copying.process(std::vector<float>{1, 2}), (std::vector<float>{1, 2}));
    EXPECT_TRUE(Resampler(16000, 11000).error().isEmpty());
}

TEST(AudioLibraries, LibraryLackingAFunctionIsNamedWithTheFunction)
{
    // Each real library loads under the other's name but has none of its functions.
    const SndfileLibrary sndfile{QString::fromLatin1(SoxrLibrary::kSoname)};
    const SoxrLibrary soxr{QString::fromLatin1(SndfileLibrary::kSoname)};
    EXPECT_FALSE(sndfile.ok());
    EXPECT_TRUE(sndfile.error().startsWith(QStringLiteral("cannot use libsoxr.so.0: ")));
    EXPECT_TRUE(sndfile.error().contains(QStringLiteral("sf_open")))
        << sndfile.error().toStdString();
    EXPECT_FALSE(soxr.ok());
    EXPECT_TRUE(soxr.error().contains(QStringLiteral("soxr_io_spec")))
        << soxr.error().toStdString();
}

} // namespace
