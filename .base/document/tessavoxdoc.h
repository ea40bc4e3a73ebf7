#pragma once

#include "document/formantrecord.h"
#include "framework/document.h"

#include <QString>

#include <array>
#include <vector>

class CellSource;

// One opened Formant file (or File New). Holds the records as the file was read, which
// fill the table once; after that the table view's grid is the live token store and this
// class keeps only the row count, the loaded flag, the label choices and the options.
class CTessavoxDoc : public Document
{
    Q_OBJECT

public:
    explicit CTessavoxDoc(QObject *parent = nullptr);

    // reimplemented from Document
    // Reads the Formant file; reports every failure to the user and leaves the records
    // empty then.
    bool OnOpenDocument(const QString &path) override;
    bool OnSaveDocument(const QString &path) override;

    // The first view that serves the token table, or nullptr when none is open.
    CellSource *tableView() const;

    // The file's token lines in file order; the size never changes.
    std::vector<FormantRecord> m_records = std::vector<FormantRecord>(FormantLimits::kRecords);
    // Per vowel order number: position of the chosen label in the Label Selector's list,
    // -1 = none chosen.
    std::array<int, FormantLimits::kOrderLabels> m_nOrderLabel;
    // Per vowel order number: the text of the chosen label.
    std::array<QString, FormantLimits::kOrderLabels> m_strOrderLabel;
    // Records in use, and later grid rows in use; kept equal to the grid's row count.
    int m_nTokenCount = 0;
    // Set once the document holds table data; never reset.
    bool m_bDataLoaded = false;

    // Calculation/Display options
    bool m_bAlwaysClear = true;
    int m_nF1Max = 1500;
    int m_nF1Min = 200;
    int m_nF2Max = 3500;
    int m_nF2Min = 500;
    int m_nF3Max = 3000;
    int m_nF3Min = 2000;
    int m_nLineWeight = 0; // index into "Thick", "Normal", "Fine"
    bool m_bLinear = false;
    bool m_bBark = true;
    bool m_bDrawEllipse = true;
};
