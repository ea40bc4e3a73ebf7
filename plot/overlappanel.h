#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include <utility>

class CTessavoxDoc;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

// The Overlap tab of the Statistics window: for each speaker, the Pillai trace with its F
// test, the distances of the means and the Bhattacharyya figures of the vowel pairs the user
// picks, or of every pair, in the document's scale or normalisation (the columns of
// `tessavox-batch overlap`, computed by the same code). Excluded rows count in nothing.
class OverlapPanel : public QWidget
{
    Q_OBJECT

public:
    using Pair = std::pair<QString, QString>; // two symbols

    explicit OverlapPanel(QWidget *parent = nullptr);

    // Figures the document's rows afresh; the pairs offered follow its symbols.
    void refresh(const CTessavoxDoc &doc);

    // The pairs compared: every pair when empty.
    QList<Pair> pairs() const { return m_pairs; }
    void setPairs(const QList<Pair> &pairs);
    // Adds the pair chosen in the two lists, and compares the chosen pairs only.
    void addChosenPair();

    // The shown table as text: fields joined by `separator`, one line per pair.
    QByteArray tableText(char separator) const { return separator == ',' ? m_csv : m_tsv; }
    const QTableWidget &table() const { return *m_table; }
    // Why figures are empty, one line each.
    QString notes() const;

signals:
    // The user changed the pairs: the window refreshes.
    void pairsChanged();

private:
    void showPairs();

    QCheckBox *m_allPairs = nullptr;
    QComboBox *m_first = nullptr;
    QComboBox *m_second = nullptr;
    QLabel *m_chosen = nullptr;
    QTableWidget *m_table = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QList<Pair> m_pairs;
    QByteArray m_tsv;
    QByteArray m_csv;
};
