#pragma once

#include "document/cellsource.h"
#include "framework/view.h"
#include "table/datatbl5.h"

#include <QPointer>

#include <memory>
#include <vector>

class CTessavoxDoc;
class DocumentWindow;
class DocTemplate;
struct CommandState;

// The table window: the first view of every Formant document. Its grid shows the
// document's token rows, as every table window of the document does, so an edit in any
// of them is the document's; the cell accessors read and write those rows. Carries the table's
// Edit, Plot and Options commands and table printing. Owns the grid and the templates of the chart
// windows it opens; the chart frames themselves belong to the MDI area and are closed with this
// view.
class CTessavoxFormView : public View, public CellSource
{
    Q_OBJECT

public:
    explicit CTessavoxFormView(QWidget *parent = nullptr);
    ~CTessavoxFormView() override;

    CTessavoxDoc *GetDocument() const;
    CDatatbl5 &grid() { return m_grid; }
    const CDatatbl5 &grid() const { return m_grid; }

    // reimplemented from CommandTarget
    // A grid error ends the command with a message; it never leaves the window.
    bool execute(int id) override;

    // reimplemented from View
    // Shows the document's rows, which the first table window fills from the file,
    // sorted by symbol and numbered.
    void OnInitialUpdate() override;
    void OnPrint(QPainter &painter, PrintInfo &info) override;

    // cell accessors, by zero-based row and column
    // 0 for a negative row or column and for an empty cell.
    int GetCellInt(int row, int column) const override;
    // Empty for an empty cell and for any row outside the table.
    QString GetCellText(int row, int column) const override;
    // Values below 0 or above 10000 are stored as 0.
    void SetCellInt(int row, int column, int value);
    // Stores the first `length` characters of `text`; a negative length stores nothing.
    void SetCellText(int row, int column, const QString &text, int length);

    // Edit commands
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditAddRow();
    void OnEditRemoveRow();
    void OnUpdateEditRemoveRow(CommandState &ui) const;
    void OnEditSort();
    // Exclude and Include act on the marked rows, else on the rows of the selected cells,
    // else on the current row.
    void OnEditExcludeRows();
    void OnEditIncludeRows();
    void OnUpdateEditExcludeRows(CommandState &ui, bool excluding) const;
    // Marks the rows of the outliers at the document's level (0.95 when it marks none) and
    // says how many on the status bar.
    void OnEditSelectOutliers();
    // The last text this window showed on the status bar.
    QString statusText() const { return m_statusText; }
    // Plays the current row's token from the recording its table names.
    void OnEditPlayToken();
    void OnUpdateEditPlayToken(CommandState &ui) const;
    // The document's vowel numbering (see vowelorder.h).
    void AssignOrder();
    bool HasOrder();

    // Plot commands
    void OnPlotF1F2();
    void OnPlotF1F3();
    void OnPlotF1F2Prime();
    void OnUpdatePlot(CommandState &ui) const;

    void OnOptionsCalcDisplay();
    // The user clicked a cell: the rows marked in the row header are let go.
    void OnGridRowSelectEvent();
    void OnSize(int cx, int cy);

    // The chart windows opened from this table; null when closed. A chart frame clears its
    // own reference when it closes.
    QPointer<DocumentWindow> m_pF1F2Frame;
    QPointer<DocumentWindow> m_pF1F3Frame;
    QPointer<DocumentWindow> m_pStatisticsFrame;
    // The rows of the block recorded by the last Copy; -1 when none.
    int m_nCopyFirstRow = -1;
    int m_nCopyLastRow = -1;
    QString m_statusText;

protected:
    // reimplemented from QWidget
    QSize sizeHint() const override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void openPlotWindow(int commandId, QPointer<DocumentWindow> &frame);
    std::vector<int> targetRows() const;
    void showStatus(const QString &text);

    CDatatbl5 m_grid;
    struct PlotWindow
    {
        QPointer<DocumentWindow> frame;
        std::unique_ptr<DocTemplate> docTemplate; // kept while its frame may be open
    };
    std::vector<PlotWindow> m_plotWindows;
};
