#include "plot/exportchartdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The batch tool's limit: larger pictures are more than any journal takes.
constexpr int kMaxSide = 8192;
// The density a chart window is laid out at.
constexpr int kScreenDots = 96;

QSpinBox *spinBox(QWidget *parent, const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    return box;
}

const QString kAsOnScreen = QStringLiteral("as on screen");

} // namespace

ExportChartDialog::ExportChartDialog(ChartFileFormat format, QSize size, QWidget *parent,
                                     const QStringList &facets, const QString &facet, bool zoomed)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export Chart"));
    const bool pixels = format == ChartFileFormat::Png || format == ChartFileFormat::Bmp;
    const QString unit = pixels ? QStringLiteral(" px") : QStringLiteral(" pt");
    m_width = spinBox(this, "IDC_EXPORT_WIDTH", 1, kMaxSide, size.width());
    m_height = spinBox(this, "IDC_EXPORT_HEIGHT", 1, kMaxSide, size.height());
    m_width->setSuffix(unit);
    m_height->setSuffix(unit);

    // The values journals ask for, and any other within the range typed in.
    m_dpi = new QComboBox(this);
    m_dpi->setObjectName(QStringLiteral("IDC_EXPORT_DPI"));
    m_dpi->setEditable(true);
    m_dpi->setInsertPolicy(QComboBox::NoInsert);
    m_dpi->addItem(kAsOnScreen);
    for (int dpi : {72, 150, 300, 600, 1200})
        m_dpi->addItem(QString::number(dpi));
    m_dpi->setValidator(new QIntValidator(kFewestDots, kMostDots, m_dpi));
    m_dpi->setToolTip(QStringLiteral("Dots per inch, %1 to %2: the chart keeps its layout and "
                                     "its text size in points, drawn finer")
                          .arg(kFewestDots)
                          .arg(kMostDots));
    m_dpi->setEnabled(format == ChartFileFormat::Png);
    // A finer resolution keeps the picture's size in inches, so the chart keeps the layout
    // it has in the window: the pixels grow with the resolution.
    connect(m_dpi, &QComboBox::currentTextChanged, this, [this] {
        const int dpi = chosenDotsPerInch();
        const int now = dpi > 0 ? dpi : kScreenDots;
        if (now == m_shownDots)
            return;
        for (QSpinBox *side : {m_width, m_height})
            side->setValue(int(std::lround(double(side->value()) * now / m_shownDots)));
        m_shownDots = now;
    });

    m_facet = new QComboBox(this);
    m_facet->setObjectName(QStringLiteral("IDC_EXPORT_FACET"));
    m_facet->addItem(QStringLiteral("none: one chart"), QString());
    for (const QString &column : facets)
        m_facet->addItem(column, column);
    if (!facet.isEmpty() && m_facet->findData(facet) < 0)
        m_facet->addItem(facet, facet);
    m_facet->setCurrentIndex(std::max(0, m_facet->findData(facet)));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Width:"), m_width);
    form->addRow(QStringLiteral("&Height:"), m_height);
    form->addRow(QStringLiteral("&Resolution (dpi):"), m_dpi);
    form->addRow(QStringLiteral("&Panel per value of:"), m_facet);
    if (zoomed) {
        m_zoomed = new QCheckBox(QStringLiteral("&Zoomed view, as in the window"), this);
        m_zoomed->setObjectName(QStringLiteral("IDC_EXPORT_ZOOMED"));
        m_zoomed->setChecked(true);
        form->addRow(QString(), m_zoomed);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QSize ExportChartDialog::chosenSize() const
{
    return QSize(m_width->value(), m_height->value());
}

int ExportChartDialog::chosenDotsPerInch() const
{
    if (!m_dpi->isEnabled())
        return 0;
    bool ok = false;
    const int dpi = m_dpi->currentText().toInt(&ok);
    // Text that is no resolution (or out of range) keeps the screen's.
    return ok ? std::clamp(dpi, kFewestDots, kMostDots) : 0;
}

QString ExportChartDialog::chosenFacet() const
{
    return m_facet->currentData().toString();
}

bool ExportChartDialog::zoomedViewChosen() const
{
    return m_zoomed && m_zoomed->isChecked();
}
