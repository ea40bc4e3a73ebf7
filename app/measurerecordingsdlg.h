#pragma once

#include "measure/measurementsettings.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

// File > Measure Recordings...: the recordings to measure (each with its TextGrid beside
// it), the tier, the label filter, the points and the ceiling. Holds nothing beyond the
// values it shows; accept() refuses values that cannot be measured, saying why.
class MeasureRecordingsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MeasureRecordingsDlg(QWidget *parent = nullptr);

    void setSettings(const MeasurementSettings &settings);
    // The values shown; valid once accepted.
    MeasurementSettings settings() const;

    // reimplemented from QDialog
    void accept() override;

private:
    void addFiles();
    void removeFiles();
    void updateCeiling();

    QListWidget *m_files = nullptr;
    QLineEdit *m_tier = nullptr;
    QLineEdit *m_match = nullptr;
    QLineEdit *m_points = nullptr;
    QRadioButton *m_automatic = nullptr;
    QRadioButton *m_fixed = nullptr;
    QSpinBox *m_ceiling = nullptr;
    QSpinBox *m_low = nullptr;
    QSpinBox *m_high = nullptr;
};
