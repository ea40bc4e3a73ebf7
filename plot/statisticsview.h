#pragma once

#include "framework/view.h"

#include <QByteArray>

class CTessavoxDoc;
class QPlainTextEdit;
class OverlapPanel;
class QTableWidget;
class QTabWidget;

// Plot > Statistics: the document's group statistics in the scale, normalisation and
// ellipse kind of its analysis options (the columns of `tessavox-batch stats`, computed
// by the same code), and each speaker's vowel-space area when the rows have speakers; on
// a second tab, the overlap of vowel pairs (see OverlapPanel). Follows every change of the
// table and of the options; copies the current tab's table as tab-separated text and saves
// it as CSV or TSV.
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
    OverlapPanel &overlap() { return *m_overlap; }
    // Shows the Groups (0) or Overlap (1) tab.
    void showTab(int index);

    void OnEditCopy();
    void OnFileSaveStatistics();

private:
    void refresh();
    // The current tab's table as text.
    QByteArray shownText(char separator) const;

    QTabWidget *m_tabs = nullptr;
    OverlapPanel *m_overlap = nullptr;
    QTableWidget *m_table = nullptr;
    QPlainTextEdit *m_areas = nullptr;
    QByteArray m_tsv;
    QByteArray m_csv;
};
