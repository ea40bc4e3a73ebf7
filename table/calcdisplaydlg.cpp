#include "table/calcdisplaydlg.h"

#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace {

constexpr int kFrequencyLimit = kMaxFormant;
// A lower F2 bound above 1000 Hz would cut off back vowels.
constexpr int kF2MinLimit = 1000;

const QString kNotAnInteger = QStringLiteral("Please enter an integer.");
const QString kOutOfRange = QStringLiteral("Please enter an integer between %1 and %2.");

} // namespace

CCalcDisplayDlg::CCalcDisplayDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Calculation/Display Options"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createControls();
    setFixedSize(dialogUnits(0, 0, 211, 164).size());
}

bool CCalcDisplayDlg::editOptions(CTessavoxDoc &doc, QWidget *parent)
{
    CCalcDisplayDlg dialog(parent);
    dialog.m_bAlwaysClear = doc.m_bAlwaysClear;
    dialog.m_nF1Max = doc.m_nF1Max;
    dialog.m_nF1Min = doc.m_nF1Min;
    dialog.m_nF2Max = doc.m_nF2Max;
    dialog.m_nF2Min = doc.m_nF2Min;
    dialog.m_nF3Max = doc.m_nF3Max;
    dialog.m_nF3Min = doc.m_nF3Min;
    dialog.m_nLineWeight = doc.m_nLineWeight;
    dialog.m_bLinear = doc.m_bLinear;
    dialog.m_bBark = doc.m_bBark;
    dialog.m_bDrawEllipse = doc.m_bDrawEllipse;
    dialog.OnInitDialog();
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return false;

    doc.m_bAlwaysClear = dialog.m_bAlwaysClear;
    doc.m_nF1Max = dialog.m_nF1Max;
    doc.m_nF1Min = dialog.m_nF1Min;
    doc.m_nF2Max = dialog.m_nF2Max;
    doc.m_nF2Min = dialog.m_nF2Min;
    doc.m_nF3Max = dialog.m_nF3Max;
    doc.m_nF3Min = dialog.m_nF3Min;
    doc.m_nLineWeight = dialog.m_nLineWeight;
    doc.m_bLinear = dialog.m_bLinear;
    doc.m_bBark = dialog.m_bBark;
    doc.m_bDrawEllipse = dialog.m_bDrawEllipse;
    doc.UpdateAllViews(nullptr);
    return true;
}

bool CCalcDisplayDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_bAlwaysClear = m_alwaysClearBox->isChecked();
    else
        m_alwaysClearBox->setChecked(m_bAlwaysClear);

    // No rule ties a minimum to its maximum: a reversed range is the user's to choose.
    if (!exchangeRange(saveAndValidate, m_f1MaxEdit, m_nF1Max, kFrequencyLimit) ||
        !exchangeRange(saveAndValidate, m_f1MinEdit, m_nF1Min, kFrequencyLimit) ||
        !exchangeRange(saveAndValidate, m_f2MaxEdit, m_nF2Max, kFrequencyLimit) ||
        !exchangeRange(saveAndValidate, m_f2MinEdit, m_nF2Min, kF2MinLimit) ||
        !exchangeRange(saveAndValidate, m_f3MaxEdit, m_nF3Max, kFrequencyLimit) ||
        !exchangeRange(saveAndValidate, m_f3MinEdit, m_nF3Min, kFrequencyLimit))
        return false;

    if (saveAndValidate)
        m_bDrawEllipse = m_drawEllipseBox->isChecked();
    else
        m_drawEllipseBox->setChecked(m_bDrawEllipse);
    return true;
}

void CCalcDisplayDlg::OnInitDialog()
{
    DoDataExchange(false);
    m_linearButton->setChecked(m_bLinear);
    m_barkButton->setChecked(m_bBark);
    m_lineWeightCombo->setCurrentIndex(m_nLineWeight);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void CCalcDisplayDlg::accept()
{
    if (DoDataExchange(true))
        QDialog::accept();
}

void CCalcDisplayDlg::OnScaleLinear()
{
    m_bLinear = true;
    m_bBark = false;
    m_linearButton->setChecked(m_bLinear);
    m_barkButton->setChecked(m_bBark);
}

void CCalcDisplayDlg::OnScaleBark()
{
    m_bLinear = false;
    m_bBark = true;
    m_linearButton->setChecked(m_bLinear);
    m_barkButton->setChecked(m_bBark);
}

void CCalcDisplayDlg::OnSelchangeLineWeight()
{
    m_nLineWeight = m_lineWeightCombo->currentIndex();
}

void CCalcDisplayDlg::createControls()
{
    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("IDOK"));
    okButton->setGeometry(dialogUnits(154, 143, 50, 14));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &CCalcDisplayDlg::accept);

    auto *cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("IDCANCEL"));
    cancelButton->setGeometry(dialogUnits(7, 143, 50, 14));
    connect(cancelButton, &QPushButton::clicked, this, &CCalcDisplayDlg::reject);

    // The scale pair: each button is a group of its own, so the handlers keep the two
    // states in step rather than Qt's exclusivity.
    auto *scaleGroup = new QGroupBox(QStringLiteral("Scale"), this);
    scaleGroup->setGeometry(dialogUnits(7, 7, 43, 40));
    scaleGroup->hide();
    m_linearButton = new QRadioButton(QStringLiteral("Linear"), this);
    m_linearButton->setObjectName(QStringLiteral("IDC_SCALE_LINEAR"));
    m_linearButton->setGeometry(dialogUnits(14, 18, 35, 10));
    m_linearButton->setAutoExclusive(false);
    m_linearButton->hide();
    connect(m_linearButton, &QRadioButton::clicked, this, &CCalcDisplayDlg::OnScaleLinear);
    m_barkButton = new QRadioButton(QStringLiteral("Bark"), this);
    m_barkButton->setObjectName(QStringLiteral("IDC_SCALE_BARK"));
    m_barkButton->setGeometry(dialogUnits(14, 30, 30, 10));
    m_barkButton->setAutoExclusive(false);
    m_barkButton->hide();
    connect(m_barkButton, &QRadioButton::clicked, this, &CCalcDisplayDlg::OnScaleBark);

    auto *rangeGroup = new QGroupBox(QStringLiteral("Ploting Range"), this);
    rangeGroup->setGeometry(dialogUnits(57, 7, 129, 65));
    (new QLabel(QStringLiteral("F1:"), this))->setGeometry(dialogUnits(62, 22, 16, 8));
    (new QLabel(QStringLiteral("F2:"), this))->setGeometry(dialogUnits(62, 40, 15, 8));
    (new QLabel(QStringLiteral("F3:"), this))->setGeometry(dialogUnits(62, 55, 15, 8));
    m_f1MinEdit = createRangeEdit("IDC_F1_MIN", dialogUnits(80, 20, 40, 14));
    m_f1MaxEdit = createRangeEdit("IDC_F1_MAX", dialogUnits(136, 20, 40, 14));
    m_f2MinEdit = createRangeEdit("IDC_F2_MIN", dialogUnits(80, 36, 40, 14));
    m_f2MaxEdit = createRangeEdit("IDC_F2_MAX", dialogUnits(136, 36, 40, 14));
    m_f3MinEdit = createRangeEdit("IDC_F3_MIN", dialogUnits(80, 52, 40, 14));
    m_f3MaxEdit = createRangeEdit("IDC_F3_MAX", dialogUnits(136, 52, 40, 14));
    (new QLabel(QStringLiteral("--"), this))->setGeometry(dialogUnits(124, 24, 8, 8));
    (new QLabel(QStringLiteral("--"), this))->setGeometry(dialogUnits(125, 41, 8, 8));
    (new QLabel(QStringLiteral("--"), this))->setGeometry(dialogUnits(126, 57, 8, 8));

    m_lineWeightCombo = new QComboBox(this);
    m_lineWeightCombo->setObjectName(QStringLiteral("IDC_LINE_WEIGHT"));
    m_lineWeightCombo->addItems(
        {QStringLiteral("Thick"), QStringLiteral("Normal"), QStringLiteral("Fine")});
    const QRect comboRect = dialogUnits(76, 79, 53, 55);
    // The template's height is that of the open list; the closed box is one line high.
    m_lineWeightCombo->setGeometry(comboRect.x(), comboRect.y(), comboRect.width(),
                                   m_lineWeightCombo->sizeHint().height());
    m_lineWeightCombo->hide();
    connect(m_lineWeightCombo, &QComboBox::currentIndexChanged, this,
            &CCalcDisplayDlg::OnSelchangeLineWeight);
    auto *lineWeightLabel = new QLabel(QStringLiteral("Ellipse Line Weigth  :"), this);
    lineWeightLabel->setGeometry(dialogUnits(7, 80, 66, 8));
    lineWeightLabel->hide();

    m_alwaysClearBox = new QCheckBox(QStringLiteral("Always clear screen before a new plot"), this);
    m_alwaysClearBox->setObjectName(QStringLiteral("IDC_ALWAYS_CLEAR"));
    m_alwaysClearBox->setGeometry(dialogUnits(7, 99, 160, 10));
    m_alwaysClearBox->hide();

    m_drawEllipseBox = new QCheckBox(QStringLiteral("Draw ellipse"), this);
    m_drawEllipseBox->setObjectName(QStringLiteral("IDC_DRAW_ELLIPSE"));
    m_drawEllipseBox->setGeometry(dialogUnits(7, 114, 54, 10));
}

QRect CCalcDisplayDlg::dialogUnits(int x, int y, int width, int height) const
{
    // A dialog unit is a quarter of the font's average letter width across and an
    // eighth of its line height down.
    const QFontMetrics metrics(font());
    const double across = metrics.horizontalAdvance(QStringLiteral(
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                          52.0 / 4.0;
    const double down = metrics.height() / 8.0;
    return QRect(qRound(x * across), qRound(y * down), qRound(width * across),
                 qRound(height * down));
}

QLineEdit *CCalcDisplayDlg::createRangeEdit(const char *name, const QRect &rect)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(rect);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

bool CCalcDisplayDlg::exchangeRange(bool saveAndValidate, QLineEdit *edit, int &value, int maximum)
{
    if (!saveAndValidate) {
        edit->setText(QString::number(value));
        return true;
    }
    bool isInteger = false;
    const int typed = edit->text().trimmed().toInt(&isInteger);
    if (isInteger && typed >= 0 && typed <= maximum) {
        value = typed;
        return true;
    }
    Messages::show(isInteger ? kOutOfRange.arg(0).arg(maximum) : kNotAnInteger);
    edit->setFocus();
    edit->selectAll();
    return false;
}
