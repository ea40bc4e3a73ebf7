#pragma once

#include <QDialog>

class CTessavoxDoc;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The Calculation/Display Options dialog: edits a copy of one document's eleven option
// fields and hands them back only when OK passes validation. The scale pair, the line
// weight and "always clear" have controls that exist but are never shown, so the user
// cannot change those fields. Controls carry their resource names as object names.
class CCalcDisplayDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CCalcDisplayDlg(QWidget *parent = nullptr);

    // Runs the dialog on `doc`'s options; on OK stores all eleven back and repaints the
    // document's views. Returns whether OK ended it. The modified flag is left alone:
    // the options are not part of the file.
    static bool editOptions(CTessavoxDoc &doc, QWidget *parent = nullptr);

    // Fields to controls (false), or controls to fields (true), maximum before minimum
    // for each formant. Stops at the first field that is not an integer in its range:
    // says so, puts the focus back in it and returns false.
    bool DoDataExchange(bool saveAndValidate);
    // Fills the controls from the fields; call once the fields are set, before showing.
    void OnInitDialog();

    // reimplemented from QDialog
    // Closes only when every field is valid.
    void accept() override;

    // the dialog's copy of the options; the eight exchanged ones start at 0
    bool m_bAlwaysClear = false;
    int m_nF1Max = 0;
    int m_nF1Min = 0;
    int m_nF2Max = 0;
    int m_nF2Min = 0;
    int m_nF3Max = 0;
    int m_nF3Min = 0;
    int m_nLineWeight = 0;
    bool m_bLinear = false;
    bool m_bBark = true;
    bool m_bDrawEllipse = false;

private:
    void OnScaleLinear();
    void OnScaleBark();
    void OnSelchangeLineWeight();

    void createControls();
    // Pixels of a rectangle given in dialog units of the dialog's font.
    QRect dialogUnits(int x, int y, int width, int height) const;
    QLineEdit *createRangeEdit(const char *name, const QRect &rect);
    bool exchangeRange(bool saveAndValidate, QLineEdit *edit, int &value, int maximum);

    // child widgets, owned by the dialog
    QRadioButton *m_linearButton = nullptr;
    QRadioButton *m_barkButton = nullptr;
    QComboBox *m_lineWeightCombo = nullptr;
    QCheckBox *m_alwaysClearBox = nullptr;
    QCheckBox *m_drawEllipseBox = nullptr;
    QLineEdit *m_f1MinEdit = nullptr;
    QLineEdit *m_f1MaxEdit = nullptr;
    QLineEdit *m_f2MinEdit = nullptr;
    QLineEdit *m_f2MaxEdit = nullptr;
    QLineEdit *m_f3MinEdit = nullptr;
    QLineEdit *m_f3MaxEdit = nullptr;
};
