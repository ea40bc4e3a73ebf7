#include "plot/exportchartdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The batch tool's limit: larger pictures are more than any journal takes.
constexpr int kMaxSide = 8192;

QSpinBox *spinBox(QWidget *parent, const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    return box;
}

} // namespace

ExportChartDialog::ExportChartDialog(ChartFileFormat format, QSize size, QWidget *parent,
                                     bool zoomed)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export Chart"));
    const bool pixels = format == ChartFileFormat::Png || format == ChartFileFormat::Bmp;
    const QString unit = pixels ? QStringLiteral(" px") : QStringLiteral(" pt");
    m_width = spinBox(this, "IDC_EXPORT_WIDTH", 1, kMaxSide, size.width());
    m_height = spinBox(this, "IDC_EXPORT_HEIGHT", 1, kMaxSide, size.height());
    m_width->setSuffix(unit);
    m_height->setSuffix(unit);
    m_dpi = spinBox(this, "IDC_EXPORT_DPI", 0, 1200, 0);
    m_dpi->setSpecialValueText(QStringLiteral("as on screen"));
    m_dpi->setSuffix(QStringLiteral(" dpi"));
    m_dpi->setEnabled(format == ChartFileFormat::Png);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Width:"), m_width);
    form->addRow(QStringLiteral("&Height:"), m_height);
    form->addRow(QStringLiteral("&Resolution:"), m_dpi);
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
    return m_dpi->isEnabled() ? m_dpi->value() : 0;
}

bool ExportChartDialog::zoomedViewChosen() const
{
    return m_zoomed && m_zoomed->isChecked();
}
