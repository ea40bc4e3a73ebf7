#pragma once

#include "document/analysisoptions.h"

#include <QDialog>

class CTessavoxDoc;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

// The Analysis Options dialog: the scale or normalisation a document's charts are drawn
// in, the ellipse drawn about each group, colours, hidden tokens, fitting and outlier rings. Each
// choice names its formula and source. Edits a copy; OK hands it back.
class AnalysisOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnalysisOptionsDialog(QWidget *parent = nullptr);

    // Runs the dialog on `doc`'s analysis options; on OK stores them and repaints every
    // view of the document. Returns whether OK ended it. The options are not part of the
    // file, so the modified flag is left alone.
    static bool editOptions(CTessavoxDoc &doc, QWidget *parent = nullptr);

    // Controls from options, with `columns` (a table's other columns) offered to colour
    // and draw panels by, and options from the controls.
    void setOptions(const AnalysisOptions &options, const QStringList &columns = {});
    AnalysisOptions options() const;
    // Stores the dialog's choices in `doc` and repaints its views.
    void apply(CTessavoxDoc &doc) const;

private:
    void updateFormula();

    QComboBox *m_scale = nullptr;
    QComboBox *m_normalization = nullptr;
    QComboBox *m_ellipse = nullptr;
    QComboBox *m_colorBy = nullptr;
    QCheckBox *m_showTokens = nullptr;
    QCheckBox *m_fit = nullptr;
    QCheckBox *m_equalAspect = nullptr;
    QComboBox *m_tokenMarks = nullptr;
    QComboBox *m_facet = nullptr;
    QComboBox *m_trajectories = nullptr;
    QCheckBox *m_markOutliers = nullptr;
    QDoubleSpinBox *m_outlierLevel = nullptr;
    AnalysisOptions m_options; // keeps what the dialog does not show (formants)
};
