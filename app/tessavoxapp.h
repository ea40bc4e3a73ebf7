#pragma once

#include "framework/application.h"
#include "measure/measurementjob.h"

#include <QStringList>

class CMainFrame;
class ShellOpenChannel;

// The Tessavox application: registers the Formant document type, makes the maximized
// main window, answers shell open requests, and handles File Open (with its own dialog),
// File > Measure Recordings... and About.
class CTessavoxApp : public Application
{
    Q_OBJECT

public:
    explicit CTessavoxApp(QObject *parent = nullptr);

    // reimplemented from Application
    bool init() override;

    // Where init() listens for shell open requests; empty listens nowhere.
    void setShellServerName(const QString &name) { m_shellServerName = name; }
    CMainFrame *mainFrame() const;
    ShellOpenChannel *shellChannel() const { return m_shellChannel; }

    // Opens each path as a document of its own and brings the main window forward.
    void openShellRequest(const QStringList &paths);

    // command handlers
    void OnFileOpen();
    // Measures recordings chosen in a dialog, with progress and Cancel, into a new table
    // document that is not saved yet.
    void OnFileMeasureRecordings();
    void OnAppAbout();

private:
    // The measured table as a new document, titled "Measured N" and not yet saved.
    void openMeasuredTable(const MeasurementResult &result);

    QString m_shellServerName;
    ShellOpenChannel *m_shellChannel = nullptr; // owned through the object tree
    MeasurementSettings m_measurement;          // the dialog's last values
    int m_measuredCount = 0;                    // numbers the measured documents' titles
};
