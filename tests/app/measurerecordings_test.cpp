// File > Measure Recordings... in the running program: the dialog's values reach the
// measurement, progress is shown over the files, the result opens as a new unsaved table
// whose chart opens at once, and Cancel leaves no document behind.

#include "app/measurementprogress.h"
#include "app/measurerecordingsdlg.h"
#include "apptest.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"
#include "vowelsynth.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>

namespace {

class MeasureRecordingsTest : public AppTest
{
protected:
    // `count` recordings of four vowels each, their TextGrids beside them.
    QStringList recordings(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            const SynthVoice voice = VoiceNamed(i % 2 ? "female" : "male");
            std::vector<SynthVowel> vowels = StandardVowels(voice, false);
            vowels.resize(4);
            const SynthRecording recording =
                SynthesizeRecording(voice, vowels, 16000, std::uint32_t(i + 1));
            const QString base = files.path(QStringLiteral("speaker%1").arg(i + 1));
            EXPECT_TRUE(WriteWav((base + ".wav").toStdString(), recording.samples, 16000));
            EXPECT_TRUE(WriteText((base + ".TextGrid").toStdString(), TextGridText(recording)));
            paths << base + ".wav";
        }
        return paths;
    }

    // Answers the dialog with `settings` (or cancels it when null).
    ScopedModalRunner answer(const MeasurementSettings *settings)
    {
        return ScopedModalRunner([settings](QDialog &dialog) {
            auto *measure = qobject_cast<MeasureRecordingsDlg *>(&dialog);
            if (!measure || !settings)
                return int(QDialog::Rejected);
            measure->setSettings(*settings);
            measure->accept();
            return measure->result();
        });
    }
};

TEST_F(MeasureRecordingsTest, ResultOpensAsAnUnsavedTableWithItsChart)
{
    MeasurementSettings settings;
    settings.audioFiles = recordings(2);
    settings.points = {20, 50, 80};
    int updates = 0;
    int lastValue = -1;
    const auto restore =
        qScopeGuard([previous = MeasurementProgress::setObserver([&](QProgressDialog &dialog) {
                         ++updates;
                         EXPECT_EQ(dialog.maximum(), 2);
                         EXPECT_GE(dialog.value(), lastValue);
                         lastValue = dialog.value();
                     })]() { MeasurementProgress::setObserver(previous); });
    const ScopedModalRunner runner = answer(&settings);
    MessageCapture capture;
    ASSERT_TRUE(execute(ID_FILE_MEASURE_RECORDINGS));
    EXPECT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();
    EXPECT_GE(updates, 8); // each of the eight tokens and the files
    EXPECT_EQ(lastValue, 2);

    ASSERT_EQ(app->documents().size(), 1);
    auto *doc = qobject_cast<CTessavoxDoc *>(app->documents().first());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->title(), QStringLiteral("Measured 1"));
    EXPECT_TRUE(doc->pathName().isEmpty());
    EXPECT_TRUE(doc->isModified()); // closing asks before the measurements are lost
    EXPECT_TRUE(doc->isTableDocument());
    EXPECT_EQ(doc->tokens().count(), 8);
    EXPECT_GE(doc->tableColumn(QStringLiteral("F1_80")), 0);
    EXPECT_GE(doc->tableColumn(QStringLiteral("Ceiling")), 0);
    EXPECT_TRUE(state(ID_PLOT_F1F2).enabled);
    EXPECT_TRUE(execute(ID_PLOT_F1F2));
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);
    // Saved, it is a table like any other, every measured column kept.
    const QString saved = files.path("measured.tsv");
    ASSERT_TRUE(doc->OnSaveDocument(saved));
    EXPECT_FALSE(doc->isModified());
    const QList<QByteArray> lines = TestFiles::read(saved).split('\n');
    EXPECT_TRUE(lines.first().contains("\tCeiling\tF1_20\tF2_20\tF3_20\tF1_80\tF2_80\tF3_80"))
        << lines.first().toStdString();
    EXPECT_EQ(lines.size(), 1 + 8 + 1); // the header, the rows, the final line end

    // The dialog opens with the values used last.
    MeasurementSettings seen;
    const ScopedModalRunner look([&seen](QDialog &dialog) {
        if (auto *measure = qobject_cast<MeasureRecordingsDlg *>(&dialog))
            seen = measure->settings();
        return int(QDialog::Rejected);
    });
    execute(ID_FILE_MEASURE_RECORDINGS);
    EXPECT_EQ(seen.audioFiles, settings.audioFiles);
    EXPECT_EQ(seen.points, settings.points);
    EXPECT_EQ(app->documents().size(), 1);
}

TEST_F(MeasureRecordingsTest, CancelStopsTheJobAndOpensNothing)
{
    MeasurementSettings settings;
    settings.audioFiles = recordings(6);
    int shown = 0;
    const auto restore =
        qScopeGuard([previous = MeasurementProgress::setObserver([&shown](QProgressDialog &dialog) {
                         ++shown;
                         // As the user does: the dialog's own Cancel button.
                         if (auto *button = dialog.findChild<QPushButton *>())
                             button->click();
                     })]() { MeasurementProgress::setObserver(previous); });
    const ScopedModalRunner runner = answer(&settings);
    MessageCapture capture;
    execute(ID_FILE_MEASURE_RECORDINGS);
    EXPECT_TRUE(app->documents().isEmpty());
    EXPECT_TRUE(capture.events().isEmpty());
    EXPECT_EQ(shown, 1); // nothing updates the dialog once it is cancelled
}

TEST_F(MeasureRecordingsTest, DialogRefusesWhatCannotBeMeasuredAndSkippedFilesAreReported)
{
    MessageCapture capture;
    MeasureRecordingsDlg dialog;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(capture.lastMessage(), QStringLiteral("Add the recordings to measure."));
    MeasurementSettings settings;
    settings.audioFiles = {files.path("nothing.wav")};
    dialog.setSettings(settings);
    settings.match = QStringLiteral("(");
    dialog.setSettings(settings);
    dialog.accept();
    EXPECT_TRUE(capture.lastMessage().startsWith("The label filter is not a regular expression"));

    // A recording without a TextGrid: named in a message, and no empty document.
    settings.match.clear();
    const ScopedModalRunner runner = answer(&settings);
    capture.clear();
    execute(ID_FILE_MEASURE_RECORDINGS);
    EXPECT_TRUE(app->documents().isEmpty());
    ASSERT_EQ(capture.messages().size(), 1);
    EXPECT_TRUE(capture.lastMessage().startsWith("1 of 1 recording(s) could not be measured"));
    EXPECT_TRUE(capture.lastMessage().contains(files.path("nothing.wav") + ": no TextGrid"));
}

} // namespace
