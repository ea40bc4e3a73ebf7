#include "app/measurementprogress.h"

#include <QEventLoop>
#include <QProgressDialog>

#include <atomic>
#include <thread>

namespace {

MeasurementProgress::Observer &observer()
{
    static MeasurementProgress::Observer watching;
    return watching;
}

QString progressText(const MeasurementJob::Progress &progress)
{
    return QStringLiteral("Measuring recording %1 of %2: %L3 token(s) measured")
        .arg(std::min(progress.filesDone + 1, progress.files))
        .arg(progress.files)
        .arg(progress.tokensDone);
}

} // namespace

std::optional<MeasurementResult> MeasurementProgress::run(const MeasurementSettings &settings,
                                                          QWidget *parent)
{
    const int files = int(settings.audioFiles.size());
    QProgressDialog dialog(progressText({0, files, 0}), QStringLiteral("Cancel"), 0, files, parent);
    dialog.setWindowTitle(QStringLiteral("Measure Recordings"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);

    std::atomic<bool> cancel{false};
    QObject::connect(&dialog, &QProgressDialog::canceled, [&cancel, &dialog] {
        cancel = true;
        dialog.setLabelText(QStringLiteral("Cancelling..."));
    });

    // Updates travel to the dialog's thread as queued calls; any still pending when the
    // dialog goes are dropped with it.
    const MeasurementJob::ProgressCallback report = [&dialog,
                                                     &cancel](const MeasurementJob::Progress &p) {
        QMetaObject::invokeMethod(
            &dialog,
            [&dialog, &cancel, p] {
                if (cancel)
                    return;
                dialog.setValue(p.filesDone);
                dialog.setLabelText(progressText(p));
                if (observer())
                    observer()(dialog);
            },
            Qt::QueuedConnection);
    };

    QEventLoop loop;
    MeasurementResult result;
    std::thread worker([&] {
        result = MeasurementJob(settings).run(report, &cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (result.cancelled)
        return std::nullopt;
    return result;
}

MeasurementProgress::Observer MeasurementProgress::setObserver(Observer watching)
{
    return std::exchange(observer(), std::move(watching));
}
