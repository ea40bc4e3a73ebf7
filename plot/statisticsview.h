#pragma once

#include "framework/view.h"

#include <QByteArray>

class CTessavoxDoc;
class QPlainTextEdit;
class QTableWidget;

// Plot > Statistics: the document's group statistics in the scale, normalisation and
// ellipse kind of its analysis options (the columns of `tessavox-batch stats`, computed
// by the same code), and each speaker's vowel-space area when the rows have speakers.
// Follows every change of the table and of the options; copies the table as
// tab-separated text and saves it as CSV or TSV.
class StatisticsView : public View
{
    Q_OBJECT

public:
    explicit StatisticsView(QWidget *parent = nullptr);

    CTessavoxDoc *GetDocument() const;
    void OnInitialUpdate() override;
    void OnUpdate(View *sender, int hint) override;

    // What Copy and Save write: a line naming the scale, normalisation and ellipse kind,
    // the table at full precision (fields joined by `separator`, one line per group),
    // and each speaker's vowel-space area.
    QByteArray tableText(char separator) const { return separator == ',' ? m_csv : m_tsv; }
    const QTableWidget &table() const { return *m_table; }
    QString areaText() const;

    void OnEditCopy();
    void OnFileSaveStatistics();

private:
    void refresh();

    QTableWidget *m_table = nullptr;
    QPlainTextEdit *m_areas = nullptr;
    QByteArray m_tsv;
    QByteArray m_csv;
};
