#pragma once

#include "document/analysisoptions.h"
#include "document/edithistory.h"
#include "document/formantrecord.h"
#include "document/tabularreader.h"
#include "document/tabulartable.h"
#include "document/tokenfile.h"
#include "document/tokentablemodel.h"
#include "framework/document.h"
#include "framework/fileerror.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>
#include <vector>

// One opened file, a Formant file or a table (or File New), read through the one loader.
// Holds the records or the table as the file was read, which fill the token rows once the
// first table shows them; from then on the rows are the live
// token store, which every table window shows, the charts draw and File Save writes. Keeps
// the row count, the loaded flag and the modified flag in step with the rows, and holds
// the label choices and the options.
class CTessavoxDoc : public Document
{
    Q_OBJECT

public:
    explicit CTessavoxDoc(QObject *parent = nullptr);

    // reimplemented from Document
    // Opens the file as open() does, with the options set before, and tells the user what
    // went wrong or what to know of the file.
    bool OnOpenDocument(const QString &path) override;
    bool OnSaveDocument(const QString &path) override;
    // Save As offers the table formats beside the Formant format, the document's own first.
    void prepareSaveRequest(FileDialogRequest &request) const override;
    // Unmodified is where the rows were saved: Undo back to there leaves nothing to save.
    void setModifiedFlag(bool modified = true) override;

    // How OnOpenDocument opens the file: e.g. as a table whatever its name, when the user
    // chose the table file type in the Open dialog.
    void setOpenOptions(const TokenFileOptions &options) { m_openOptions = options; }
    // Reads `path` through the one loader and keeps its tokens; shows nothing, so that the
    // program and the batch tool each present the result (its message and warnings) their
    // own way. The rows fill once a table shows them (attachTable).
    TokenFile open(const QString &path, const TokenFileOptions &options);
    // The tokens as the file gave them, as a table whatever the file's kind; empty before
    // a file is read.
    const TabularTable &tokenTable() const;
    // Whether the rows came from, or were last saved to, a table file.
    bool isTableDocument() const { return m_table.has_value(); }

    // The token rows.
    TokenTableModel &tokens() { return m_tokens; }
    const TokenTableModel &tokens() const { return m_tokens; }

    // A table window (or a table without a window) shows the rows from now on. The first
    // one fills them from the records, sorted by symbol and numbered; later ones show the
    // rows as they stand, edits and all.
    void attachTable(QObject *table);
    void detachTable(QObject *table);
    // Whether a table shows the rows. Without one the charts draw nothing and File Save
    // writes nothing: the rows are not filled then, and an empty file would destroy the
    // tokens on disk.
    bool hasTable() const;

    // Undo and Redo of the rows and label choices. A typed cell is a step of its own;
    // commands that change the rows in several places make one step of them by holding an
    // EditStep while they work.
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // Whether the rows keep a history for Undo, a copy of every row; a document that no
    // one edits (the batch tool's) does without. Set before a table attaches.
    void setHistoryKept(bool kept) { m_historyKept = kept; }
    void OnEditUndo();
    void OnEditRedo();
    class EditStep
    {
    public:
        // `changesFile`: whether the command changes what File Save writes; sorting and
        // numbering the rows leave the document unmodified.
        explicit EditStep(CTessavoxDoc *doc, bool changesFile = true);
        ~EditStep();
        EditStep(const EditStep &) = delete;
        EditStep &operator=(const EditStep &) = delete;

    private:
        CTessavoxDoc *m_doc;
        bool m_changesFile;
    };
    // Sets the rows aside (or takes them back), as one step Undo takes back; rows outside
    // the table are passed over. Returns how many rows changed.
    int setRowsExcluded(std::span<const int> rows, bool excluded);
    // The Label Selector's choice for vowel group `order`, as a step Undo takes back.
    void chooseOrderLabel(int order, int position, const QString &text);

    // The rows come from `table` from now on, as from a table file not yet saved anywhere
    // (formants measured from recordings): File Save asks for a name and offers the table
    // formats first. Call before the first table window shows the rows.
    void adoptTable(TabularTable table);
    // The table file's column named `name` (any case), or -1; always -1 for a Formant
    // document.
    int tableColumn(const QString &name) const;
    // The table file's columns that no token column shows, in file order.
    QStringList otherTableColumns() const;
    // What token row `row` holds in the table file's column `column`: its speaker or symbol
    // as they stand for those columns, else the cell of the file's row it stands for. Empty
    // for a row added here, and outside the table.
    QString tableText(int row, int column) const;

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
    // Analysis options: scale, normalisation, ellipse kind, colours, fit
    AnalysisOptions m_analysis;

private:
    void fillTokensFromRecords();
    // Makes the rows' changes since the last step one step, and shows the modified flag.
    void recordRowChanges(bool changesFile);
    void applyLabelChoice(const std::optional<EditHistory::LabelChoice> &choice);
    // Undo (backward) or Redo (forward) one step, and show the result.
    void moveThroughHistory(bool forward);
    // Writes the rows as a table to `path`; an error of kind None on success.
    FileError saveTable(const QString &path);
    // Asks before a table goes into a Formant file; false when it must not be written.
    bool confirmFormantSave();

    TokenTableModel m_tokens;
    QList<QPointer<QObject>> m_tables; // not owned
    bool m_tokensFilled = false;
    // The table file read or last written: layout, columns and the cells the rows do not
    // show. Empty for a Formant document.
    std::optional<TabularTable> m_table;
    // The document's own file is a table, whatever its name (the table type was chosen when
    // opening it): File Save writes it as one.
    bool m_fileIsTable = false;
    // A Formant file's tokens as a table, for the analysis of the file as read; made from
    // the records when first asked for.
    mutable std::optional<TabularTable> m_formantTokens;
    // The file's token lines, which the records begin with; -1 before a Formant file is
    // read.
    int m_formantTokenCount = -1;
    TokenFileOptions m_openOptions;
    EditHistory m_history;
    bool m_historyKept = true;
    int m_openSteps = 0;      // EditSteps alive; their command records the step
    bool m_restoring = false; // Undo or Redo is putting rows back
};
