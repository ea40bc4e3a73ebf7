#pragma once

#include "measure/measurementjob.h"

#include <functional>
#include <optional>

class QProgressDialog;
class QWidget;

// Runs a measurement on a worker thread behind a window-modal progress dialog: its bar
// counts the files, its label the tokens measured so far, and Cancel stops the job at the
// next token. The program's windows keep painting meanwhile.
class MeasurementProgress
{
public:
    // The job's result; nullopt when the user cancelled.
    static std::optional<MeasurementResult> run(const MeasurementSettings &settings,
                                                QWidget *parent);

    // Called on the window's thread after each update of the dialog, so that tests can
    // watch it and press Cancel. Returns the previous observer.
    using Observer = std::function<void(QProgressDialog &dialog)>;
    static Observer setObserver(Observer observer);
};
