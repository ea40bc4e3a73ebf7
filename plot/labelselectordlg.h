#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;

// "Label Selector": lists the labels of one order group's tokens, duplicates included,
// in the order the caller adds them, and reports which entry the user picked. Only a
// pick from the list counts; text typed into the field is not read.
class CLabelSelectorDlg : public QDialog
{
    Q_OBJECT

public:
    // The list holds at most this many entries; further labels are left out.
    static constexpr int kMaxLabels = 10000;

    explicit CLabelSelectorDlg(QWidget *parent = nullptr);

    // Appends `label` to the list offered; false once the list is full.
    bool addLabel(const QString &label);

    // Fills the list and selects its first entry; call it once the labels are added,
    // before the dialog runs.
    void OnInitDialog();

    QComboBox *m_cbLabels = nullptr; // owned through the widget tree
    int m_nSelLabel = 0;
    std::vector<QString> m_astrLabels;
    int m_nLabelCount = 0;
    QString m_strSelLabel;

private:
    void OnSelchangeLabels(int index);
};
