#include "app/measurerecordingsdlg.h"

#include "framework/messages.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox *hertzBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(int(kLowestCeiling), int(kHighestCeiling));
    box->setSingleStep(100);
    box->setSuffix(QStringLiteral(" Hz"));
    return box;
}

QString pointsText(const std::vector<double> &points)
{
    QStringList parts;
    for (double point : points)
        parts << PointName(point);
    return parts.join(QLatin1Char(','));
}

} // namespace

MeasureRecordingsDlg::MeasureRecordingsDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Measure Recordings"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(
        QStringLiteral("Recordings (WAV, FLAC, AIFF, Ogg), each with its TextGrid of the same "
                       "name beside it:"),
        this));
    m_files = new QListWidget(this);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_files);
    auto *fileButtons = new QHBoxLayout;
    auto *add = new QPushButton(QStringLiteral("&Add Files..."), this);
    auto *remove = new QPushButton(QStringLiteral("&Remove"), this);
    fileButtons->addWidget(add);
    fileButtons->addWidget(remove);
    fileButtons->addStretch();
    layout->addLayout(fileButtons);
    connect(add, &QPushButton::clicked, this, &MeasureRecordingsDlg::addFiles);
    connect(remove, &QPushButton::clicked, this, &MeasureRecordingsDlg::removeFiles);

    auto *form = new QFormLayout;
    m_tier = new QLineEdit(this);
    m_tier->setPlaceholderText(QStringLiteral("vowel, phone or segment tier, else the first"));
    form->addRow(QStringLiteral("&Tier:"), m_tier);
    m_match = new QLineEdit(this);
    m_match->setPlaceholderText(QStringLiteral("every labelled interval"));
    m_match->setToolTip(QStringLiteral("A regular expression the trimmed label must match, e.g. "
                                       "^(AA|AE|IY|UW)[0-2]?$"));
    form->addRow(QStringLiteral("&Labels matching:"), m_match);
    m_points = new QLineEdit(this);
    m_points->setToolTip(QStringLiteral("Percentages of each interval, e.g. 20,50,80; 50 is "
                                        "always measured"));
    form->addRow(QStringLiteral("&Points (%):"), m_points);

    m_automatic = new QRadioButton(QStringLiteral("&Automatic, per token, between"), this);
    m_low = hertzBox(this);
    m_high = hertzBox(this);
    auto *automatic = new QHBoxLayout;
    automatic->addWidget(m_automatic);
    automatic->addWidget(m_low);
    automatic->addWidget(new QLabel(QStringLiteral("and"), this));
    automatic->addWidget(m_high);
    automatic->addStretch();
    m_fixed = new QRadioButton(QStringLiteral("&Fixed at"), this);
    m_ceiling = hertzBox(this);
    auto *fixed = new QHBoxLayout;
    fixed->addWidget(m_fixed);
    fixed->addWidget(m_ceiling);
    fixed->addStretch();
    auto *ceiling = new QVBoxLayout;
    ceiling->addLayout(automatic);
    ceiling->addLayout(fixed);
    form->addRow(QStringLiteral("Formant ceiling:"), ceiling);
    m_automatic->setToolTip(
        QStringLiteral("Of ten ceilings, the one whose F1-F3 tracks are the most regular "
                       "(least residual of a quadratic fit in log frequency; Weenink 2015, "
                       "Barreda 2021)"));
    connect(m_automatic, &QRadioButton::toggled, this, &MeasureRecordingsDlg::updateCeiling);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Measure"));
    connect(buttons, &QDialogButtonBox::accepted, this, &MeasureRecordingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeasureRecordingsDlg::reject);
    layout->addWidget(buttons);

    setSettings({});
}

void MeasureRecordingsDlg::setSettings(const MeasurementSettings &settings)
{
    m_files->clear();
    m_files->addItems(settings.audioFiles);
    m_tier->setText(settings.tier);
    m_match->setText(settings.match);
    m_points->setText(pointsText(settings.points));
    m_automatic->setChecked(!settings.ceiling);
    m_fixed->setChecked(settings.ceiling.has_value());
    m_ceiling->setValue(int(settings.ceiling.value_or(5500)));
    m_low->setValue(int(settings.ceilingLow));
    m_high->setValue(int(settings.ceilingHigh));
    updateCeiling();
}

MeasurementSettings MeasureRecordingsDlg::settings() const
{
    MeasurementSettings settings;
    for (int i = 0; i < m_files->count(); ++i)
        settings.audioFiles << m_files->item(i)->text();
    settings.tier = m_tier->text().trimmed();
    settings.match = m_match->text();
    if (const auto points = ParseMeasurementPoints(m_points->text()))
        settings.points = *points;
    if (m_fixed->isChecked())
        settings.ceiling = m_ceiling->value();
    settings.ceilingLow = m_low->value();
    settings.ceilingHigh = m_high->value();
    return settings;
}

void MeasureRecordingsDlg::accept()
{
    QString problem;
    if (m_files->count() == 0)
        problem = QStringLiteral("Add the recordings to measure.");
    else if (!ParseMeasurementPoints(m_points->text()))
        problem = QStringLiteral("The points are percentages from 0 to 100 separated by commas, "
                                 "e.g. 20,50,80.");
    else if (const QRegularExpression pattern(m_match->text()); !pattern.isValid())
        problem = QStringLiteral("The label filter is not a regular expression: %1.")
                      .arg(pattern.errorString());
    else if (m_automatic->isChecked() && m_low->value() > m_high->value())
        problem = QStringLiteral("The lower ceiling is above the upper one.");
    if (!problem.isEmpty()) {
        Messages::show(problem);
        return;
    }
    QDialog::accept();
}

void MeasureRecordingsDlg::addFiles()
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Recordings to measure"), QString(),
        QStringLiteral("Recordings (*.wav *.WAV *.flac *.aif *.aiff *.ogg);;All files (*)"));
    for (const QString &path : paths) {
        if (m_files->findItems(path, Qt::MatchExactly).isEmpty())
            m_files->addItem(path);
    }
}

void MeasureRecordingsDlg::removeFiles()
{
    qDeleteAll(m_files->selectedItems());
}

void MeasureRecordingsDlg::updateCeiling()
{
    m_low->setEnabled(m_automatic->isChecked());
    m_high->setEnabled(m_automatic->isChecked());
    m_ceiling->setEnabled(!m_automatic->isChecked());
}
