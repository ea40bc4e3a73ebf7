#include "plot/labelselectordlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CLabelSelectorDlg::CLabelSelectorDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Label Selector"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto *caption = new QLabel(QStringLiteral("Labels:  "), this);
    m_cbLabels = new QComboBox(this);
    m_cbLabels->setObjectName(QStringLiteral("IDC_LABELS"));
    m_cbLabels->setEditable(true);
    m_cbLabels->setInsertPolicy(QComboBox::NoInsert);
    m_cbLabels->setMinimumWidth(300);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cbLabels, &QComboBox::currentIndexChanged, this,
            &CLabelSelectorDlg::OnSelchangeLabels);

    auto *layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(m_cbLabels, 0, 1, 1, 3);
    layout->addWidget(cancel, 1, 0);
    layout->setColumnStretch(2, 1);
    layout->addWidget(ok, 1, 3);
}

bool CLabelSelectorDlg::addLabel(const QString &label)
{
    if (m_nLabelCount >= kMaxLabels)
        return false;
    m_astrLabels.push_back(label);
    ++m_nLabelCount;
    return true;
}

void CLabelSelectorDlg::OnInitDialog()
{
    m_nSelLabel = 0;
    m_strSelLabel = m_nLabelCount > 0 ? m_astrLabels.front() : QString();
    const QSignalBlocker blocker(m_cbLabels);
    m_cbLabels->clear();
    for (int i = 0; i < m_nLabelCount; ++i)
        m_cbLabels->insertItem(i, m_astrLabels[std::size_t(i)]);
    m_cbLabels->setCurrentIndex(m_nSelLabel);
}

void CLabelSelectorDlg::OnSelchangeLabels(int index)
{
    if (index < 0 || index >= m_nLabelCount)
        return;
    m_nSelLabel = index;
    m_strSelLabel = m_astrLabels[std::size_t(index)];
}
