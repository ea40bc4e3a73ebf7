#include "table/analysisoptionsdialog.h"

#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/normalization.h"
#include "document/tessavoxdoc.h"
#include "framework/modaldialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// An item's text: its name, then the formula and source a user would cite.
QString described(const char *name, const char *formula, const char *source = "")
{
    QString text = QStringLiteral("%1: %2").arg(QLatin1String(name), QString::fromUtf8(formula));
    if (source && *source)
        text += QStringLiteral(" (%1)").arg(QString::fromUtf8(source));
    return text;
}

// Where a "colour by" item keeps the name of its column.
constexpr int kColumnRole = Qt::UserRole + 1;

void selectData(QComboBox *combo, const QVariant &value)
{
    const int index = combo->findData(value);
    combo->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

AnalysisOptionsDialog::AnalysisOptionsDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Analysis Options"));
    setObjectName(QStringLiteral("IDD_ANALYSIS"));

    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("IDC_SCALE"));
    for (const FrequencyScaleInfo &info : frequencyScales())
        m_scale->addItem(described(info.name, info.formula, info.source),
                         QString::fromLatin1(info.name));

    m_normalization = new QComboBox(this);
    m_normalization->setObjectName(QStringLiteral("IDC_NORMALIZATION"));
    m_normalization->addItem(QStringLiteral("none: the frequencies in the scale above"), QString());
    for (const NormalizationMethodInfo &info : normalizationMethods())
        m_normalization->addItem(described(info.name, info.formula, info.source),
                                 QString::fromLatin1(info.name));

    m_ellipse = new QComboBox(this);
    m_ellipse->setObjectName(QStringLiteral("IDC_ELLIPSE"));
    for (const EllipseKindInfo &info : ellipseKinds())
        m_ellipse->addItem(QStringLiteral("%1: r = %2, %3")
                               .arg(QLatin1String(info.name), QString::fromUtf8(info.radius),
                                    QString::fromUtf8(info.meaning)),
                           QString::fromLatin1(info.name));

    m_colorBy = new QComboBox(this);
    m_colorBy->setObjectName(QStringLiteral("IDC_COLOR_BY"));
    m_showTokens = new QCheckBox(QStringLiteral("Show each &token"), this);
    m_showTokens->setObjectName(QStringLiteral("IDC_SHOW_TOKENS"));
    m_fit = new QCheckBox(QStringLiteral("&Fit the chart to its window"), this);
    m_fit->setObjectName(QStringLiteral("IDC_FIT"));
    m_markOutliers = new QCheckBox(QStringLiteral("Mark &outliers at level"), this);
    m_markOutliers->setObjectName(QStringLiteral("IDC_MARK_OUTLIERS"));
    m_markOutliers->setToolTip(
        QStringLiteral("Ring each token whose squared Mahalanobis distance from its speaker's "
                       "vowel mean lies above the chi-square quantile at this level"));
    m_outlierLevel = new QDoubleSpinBox(this);
    m_outlierLevel->setObjectName(QStringLiteral("IDC_OUTLIER_LEVEL"));
    m_outlierLevel->setRange(0.5, 0.999);
    m_outlierLevel->setDecimals(3);
    m_outlierLevel->setSingleStep(0.005);
    connect(m_markOutliers, &QCheckBox::toggled, m_outlierLevel, &QWidget::setEnabled);

    m_equalAspect = new QCheckBox(QStringLiteral("&Equal units across and down"), this);
    m_equalAspect->setObjectName(QStringLiteral("IDC_EQUAL_ASPECT"));
    m_equalAspect->setToolTip(QStringLiteral("A fitted chart fills its window both ways unless "
                                             "one unit is to be as long down as across"));
    m_tokenMarks = new QComboBox(this);
    m_tokenMarks->setObjectName(QStringLiteral("IDC_TOKEN_MARKS"));
    m_tokenMarks->addItem(QStringLiteral("labels, dots beyond 2,000 tokens"),
                          int(AnalysisOptions::TokenMarks::Auto));
    m_tokenMarks->addItem(QStringLiteral("labels"), int(AnalysisOptions::TokenMarks::Labels));
    m_tokenMarks->addItem(QStringLiteral("dots"), int(AnalysisOptions::TokenMarks::Dots));
    m_facet = new QComboBox(this);
    m_facet->setObjectName(QStringLiteral("IDC_FACET"));
    m_trajectories = new QComboBox(this);
    m_trajectories->setObjectName(QStringLiteral("IDC_TRAJECTORIES"));
    m_trajectories->addItem(QStringLiteral("none"), 0);
    m_trajectories->addItem(QStringLiteral("each vowel's mean"), 1);
    m_trajectories->addItem(QStringLiteral("each vowel's mean and each token's"), 2);

    // A normalisation replaces the scale: the scale list only counts without one.
    connect(m_normalization, &QComboBox::currentIndexChanged, this,
            &AnalysisOptionsDialog::updateFormula);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Scale:"), m_scale);
    form->addRow(QStringLiteral("&Normalisation (per speaker):"), m_normalization);
    form->addRow(QStringLiteral("&Ellipse:"), m_ellipse);
    form->addRow(QStringLiteral("&Colour by:"), m_colorBy);
    form->addRow(QString(), m_showTokens);
    form->addRow(QString(), m_fit);
    form->addRow(QString(), m_equalAspect);
    form->addRow(QStringLiteral("Token &marks:"), m_tokenMarks);
    form->addRow(QStringLiteral("&Panel per value of:"), m_facet);
    form->addRow(QStringLiteral("&Trajectories:"), m_trajectories);
    auto *outliers = new QHBoxLayout;
    outliers->addWidget(m_markOutliers);
    outliers->addWidget(m_outlierLevel);
    outliers->addStretch();
    form->addRow(QString(), outliers);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setOptions(AnalysisOptions{});
}

void AnalysisOptionsDialog::setOptions(const AnalysisOptions &options, const QStringList &columns)
{
    m_options = options;
    selectData(m_scale, options.scale.toLower());
    selectData(m_normalization, options.normalization.toLower());
    selectData(m_ellipse, options.ellipse.toLower());
    m_colorBy->clear();
    m_colorBy->addItem(QStringLiteral("nothing: black, as printed charts"),
                       int(AnalysisOptions::ColorBy::None));
    m_colorBy->addItem(QStringLiteral("vowel"), int(AnalysisOptions::ColorBy::Vowel));
    m_colorBy->addItem(QStringLiteral("speaker"), int(AnalysisOptions::ColorBy::Speaker));
    QStringList offered = columns;
    if (!options.colorColumn.isEmpty() && !offered.contains(options.colorColumn))
        offered << options.colorColumn;
    for (const QString &column : offered) {
        m_colorBy->addItem(QStringLiteral("column %1").arg(column),
                           int(AnalysisOptions::ColorBy::Column));
        m_colorBy->setItemData(m_colorBy->count() - 1, column, kColumnRole);
    }
    const int chosen = options.colorBy == AnalysisOptions::ColorBy::Column
                           ? m_colorBy->findData(options.colorColumn, kColumnRole)
                           : m_colorBy->findData(int(options.colorBy));
    m_colorBy->setCurrentIndex(std::max(chosen, 0));
    m_showTokens->setChecked(options.showTokens);
    m_fit->setChecked(options.fit);
    m_equalAspect->setChecked(options.equalAspect);
    selectData(m_tokenMarks, int(options.tokenMarks));
    m_facet->clear();
    m_facet->addItem(QStringLiteral("none: one chart"), QString());
    m_facet->addItem(QStringLiteral("speaker"), QStringLiteral("speaker"));
    QStringList facets = columns;
    if (!options.facetColumn.isEmpty() && options.facetColumn != QLatin1String("speaker") &&
        !facets.contains(options.facetColumn))
        facets << options.facetColumn;
    for (const QString &column : facets)
        m_facet->addItem(QStringLiteral("column %1").arg(column), column);
    selectData(m_facet, options.facetColumn);
    selectData(m_trajectories, options.tokenTrajectories ? 2 : options.trajectories ? 1 : 0);
    const bool marking = options.outlierLevel > 0.0 && options.outlierLevel < 1.0;
    m_markOutliers->setChecked(marking);
    m_outlierLevel->setValue(marking ? options.outlierLevel : 0.95);
    m_outlierLevel->setEnabled(marking);
    updateFormula();
}

AnalysisOptions AnalysisOptionsDialog::options() const
{
    AnalysisOptions options = m_options;
    options.scale = m_scale->currentData().toString();
    options.normalization = m_normalization->currentData().toString();
    options.ellipse = m_ellipse->currentData().toString();
    options.colorBy = AnalysisOptions::ColorBy(m_colorBy->currentData().toInt());
    options.colorColumn = m_colorBy->currentData(kColumnRole).toString();
    options.showTokens = m_showTokens->isChecked();
    options.fit = m_fit->isChecked();
    options.equalAspect = m_equalAspect->isChecked();
    options.tokenMarks = AnalysisOptions::TokenMarks(m_tokenMarks->currentData().toInt());
    options.facetColumn = m_facet->currentData().toString();
    options.trajectories = m_trajectories->currentData().toInt() > 0;
    options.tokenTrajectories = m_trajectories->currentData().toInt() > 1;
    options.outlierLevel = m_markOutliers->isChecked() ? m_outlierLevel->value() : 0.0;
    return options;
}

void AnalysisOptionsDialog::apply(CTessavoxDoc &doc) const
{
    doc.m_analysis = options();
    doc.UpdateAllViews(nullptr);
}

bool AnalysisOptionsDialog::editOptions(CTessavoxDoc &doc, QWidget *parent)
{
    AnalysisOptionsDialog dialog(parent);
    dialog.setOptions(doc.m_analysis, doc.otherTableColumns());
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return false;
    dialog.apply(doc);
    return true;
}

void AnalysisOptionsDialog::updateFormula()
{
    m_scale->setEnabled(m_normalization->currentData().toString().isEmpty());
}
