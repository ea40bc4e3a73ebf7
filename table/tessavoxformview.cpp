#include "table/tessavoxformview.h"

#include "analysis/documentanalysis.h"
#include "document/tessavoxdoc.h"
#include "document/vowelorder.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/documentwindow.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "table/analysisoptionsdialog.h"
#include "table/calcdisplaydlg.h"
#include "table/griderror.h"
#include "table/plottemplates.h"
#include "table/tableprinter.h"
#include "table/tokenplayer.h"

#include <QMainWindow>
#include <QResizeEvent>
#include <QStatusBar>

#include <algorithm>

namespace {

// The form's layout on a classic 8-point dialog font: the grid sits 7 dialog units in.
const QRect kGridRect(10, 11, 373, 180);
const QSize kFormSize(394, 203);

constexpr int kMaxCellValue = kMaxFormant;

} // namespace

CTessavoxFormView::CTessavoxFormView(QWidget *parent) : View(parent), m_grid(this)
{
    m_grid.setGeometry(kGridRect);
    connect(&m_grid, &CDatatbl5::rowSelectEvent, this, &CTessavoxFormView::OnGridRowSelectEvent);
    connect(&m_grid, &CDatatbl5::playRequested, this, &CTessavoxFormView::OnEditPlayToken);

    addCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    addCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    addCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    addCommand(ID_EDIT_ADD_ROW, [this] { OnEditAddRow(); });
    addCommand(
        ID_EDIT_REMOVE_ROW, [this] { OnEditRemoveRow(); },
        [this](CommandState &ui) { OnUpdateEditRemoveRow(ui); });
    addCommand(ID_EDIT_SORT, [this] { OnEditSort(); });
    addCommand(ID_EDIT_ASSIGN_ORDER, [this] { AssignOrder(); });
    addCommand(
        ID_EDIT_EXCLUDE_ROWS, [this] { OnEditExcludeRows(); },
        [this](CommandState &ui) { OnUpdateEditExcludeRows(ui, true); });
    addCommand(
        ID_EDIT_INCLUDE_ROWS, [this] { OnEditIncludeRows(); },
        [this](CommandState &ui) { OnUpdateEditExcludeRows(ui, false); });
    addCommand(
        ID_EDIT_SELECT_OUTLIERS, [this] { OnEditSelectOutliers(); },
        [this](CommandState &ui) {
            const CTessavoxDoc *doc = GetDocument();
            ui.setEnabled(doc && doc->m_nTokenCount > 0);
        });
    addCommand(
        ID_EDIT_PLAY_TOKEN, [this] { OnEditPlayToken(); },
        [this](CommandState &ui) { OnUpdateEditPlayToken(ui); });
    addCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    addCommand(ID_OPTIONS_CALC_DISPLAY, [this] { OnOptionsCalcDisplay(); });
    addCommand(ID_OPTIONS_ANALYSIS, [this] {
        if (CTessavoxDoc *doc = GetDocument())
            AnalysisOptionsDialog::editOptions(*doc, this);
    });
    const auto plotEnabled = [this](CommandState &ui) { OnUpdatePlot(ui); };
    addCommand(
        ID_PLOT_F1F2, [this] { OnPlotF1F2(); }, plotEnabled);
    addCommand(
        ID_PLOT_F1F3, [this] { OnPlotF1F3(); }, plotEnabled);
    addCommand(
        ID_PLOT_F1F2PRIME, [this] { OnPlotF1F2Prime(); }, plotEnabled);
    addCommand(
        ID_PLOT_STATISTICS, [this] { openPlotWindow(ID_PLOT_STATISTICS, m_pStatisticsFrame); },
        plotEnabled);
}

CTessavoxFormView::~CTessavoxFormView()
{
    if (CTessavoxDoc *doc = GetDocument())
        doc->detachTable(this);
    // The charts read this table; they go with it.
    for (DocumentWindow *frame :
         {m_pF1F2Frame.data(), m_pF1F3Frame.data(), m_pStatisticsFrame.data()}) {
        if (frame)
            frame->closeWithoutPrompt();
    }
}

CTessavoxDoc *CTessavoxFormView::GetDocument() const
{
    return static_cast<CTessavoxDoc *>(document());
}

void CTessavoxFormView::OnInitialUpdate()
{
    View::OnInitialUpdate();
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const QRect rect = m_grid.geometry();
    const int height = testAttribute(Qt::WA_Resized) ? this->height() : sizeHint().height();
    m_grid.resize(rect.width(), height - rect.top());
    m_grid.show();
    m_grid.raise();
    if (DocumentWindow *frame = DocumentWindow::frameOf(this))
        frame->resize(rect.width() + 50, height + 50);

    // The first table of the document fills the rows from the file; every further window
    // shows the live rows, edits and all.
    doc->attachTable(this);
    m_grid.showRows(doc->tokens());
    m_grid.setSortKeyColumn(0, TokenTableModel::Symbol);
    // A table with speakers has one column more; its window grows to show it.
    if (doc->tokens().speakerShown()) {
        const int extra = TokenTableModel::columnWidth(TokenTableModel::Speaker);
        m_grid.resize(m_grid.width() + extra, m_grid.height());
        if (DocumentWindow *frame = DocumentWindow::frameOf(this))
            frame->resize(frame->width() + extra, frame->height());
    }
}

bool CTessavoxFormView::execute(int id)
{
    try {
        return View::execute(id);
    } catch (const GridError &error) {
        Messages::show(error.message());
        return true;
    }
}

void CTessavoxFormView::OnPrint(QPainter &painter, PrintInfo &)
{
    const CTessavoxDoc *doc = GetDocument();
    PrintTokenTable(painter, m_grid.cells(), doc ? doc->title() : QString());
}

int CTessavoxFormView::GetCellInt(int row, int column) const
{
    if (row < 0 || column < 0)
        return 0;
    return m_grid.cellInt(row, column);
}

QString CTessavoxFormView::GetCellText(int row, int column) const
{
    // Readers look one row past a run of equal symbols; that row reads as empty.
    if (row < 0 || column < 0 || row >= m_grid.rowCount())
        return {};
    return m_grid.cellText(row, column);
}

void CTessavoxFormView::SetCellInt(int row, int column, int value)
{
    if (value < 0 || value > kMaxCellValue)
        value = 0;
    m_grid.setValue(row, column, value);
}

void CTessavoxFormView::SetCellText(int row, int column, const QString &text, int length)
{
    if (length < 0)
        return;
    m_grid.setValue(row, column, text.left(length));
}

void CTessavoxFormView::OnEditCut()
{
    const CTessavoxDoc::EditStep step(GetDocument());
    m_grid.copySelectedCells();
    m_grid.clearSelectedCells();
}

void CTessavoxFormView::OnEditCopy()
{
    m_nCopyFirstRow = -1;
    m_nCopyLastRow = -1;
    m_nCopyFirstRow = m_grid.nextSelected(-1);
    for (int i = m_grid.nextSelected(-1); i >= 0; i = m_grid.nextSelected(i)) {
        m_grid.setRowSelected(i, false);
        m_nCopyLastRow = i;
    }
    m_grid.selectBlock(m_nCopyFirstRow, 0, m_nCopyLastRow, m_grid.columnCount() - 1, true);
    m_grid.copySelectedCells();
}

void CTessavoxFormView::OnEditPaste()
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const CTessavoxDoc::EditStep step(doc);
    int target = -1;
    int inserted = 0;
    if (m_nCopyFirstRow >= 0) {
        target = m_grid.nextSelected(-1);
        if (target < 0)
            target = m_grid.activeRow();
        // One blank row per copied row, so the pasted rows overwrite nothing.
        inserted = m_nCopyLastRow - m_nCopyFirstRow + 1;
        m_grid.insertRows(target, inserted, CDatatbl5::blankRow());
        m_grid.setActiveColumn(0);
        m_grid.setActiveRow(target);
    }
    try {
        m_grid.pasteAtActiveCell();
    } catch (const GridError &) {
        // A refused paste leaves no blank rows behind, so the table and the row count
        // stay as they were.
        for (int i = 0; i < inserted; ++i)
            m_grid.removeRow(target);
        throw;
    }
    m_grid.selectRange(0, doc->m_nTokenCount - 1, false);
}

void CTessavoxFormView::OnEditAddRow()
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const CTessavoxDoc::EditStep step(doc);
    const int selected = m_grid.nextSelected(-1);
    if (selected < 0)
        m_grid.addRow(CDatatbl5::blankRow());
    else
        m_grid.insertRow(selected, CDatatbl5::blankRow());
}

void CTessavoxFormView::OnEditRemoveRow()
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    if (doc->m_nTokenCount == 0) {
        const QString text = LoadString(IDS_ERR_REMOVE_ROW);
        Messages::beep();
        Messages::show(text);
        return;
    }
    const CTessavoxDoc::EditStep step(doc);
    m_grid.removeSelectedRows();
}

void CTessavoxFormView::OnUpdateEditRemoveRow(CommandState &ui) const
{
    const CTessavoxDoc *doc = GetDocument();
    ui.setEnabled(doc && doc->m_nTokenCount != 0);
}

void CTessavoxFormView::OnEditSort()
{
    const CTessavoxDoc::EditStep step(GetDocument(), false);
    m_grid.setSortActive(true);
    m_grid.viewport()->update();
    m_grid.setSortActive(false);
}

std::vector<int> CTessavoxFormView::targetRows() const
{
    std::vector<int> rows;
    for (int row = m_grid.nextSelected(-1); row >= 0; row = m_grid.nextSelected(row))
        rows.push_back(row);
    if (!rows.empty())
        return rows;
    for (const QModelIndex &index : m_grid.selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    if (rows.empty() && m_grid.currentIndex().isValid())
        rows.push_back(m_grid.currentIndex().row());
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CTessavoxFormView::OnEditExcludeRows()
{
    if (CTessavoxDoc *doc = GetDocument())
        doc->setRowsExcluded(targetRows(), true);
}

void CTessavoxFormView::OnEditIncludeRows()
{
    if (CTessavoxDoc *doc = GetDocument())
        doc->setRowsExcluded(targetRows(), false);
}

void CTessavoxFormView::OnUpdateEditExcludeRows(CommandState &ui, bool excluding) const
{
    const CTessavoxDoc *doc = GetDocument();
    bool changes = false;
    if (doc) {
        for (int row : targetRows())
            changes = changes ||
                      (row < doc->tokens().count() && doc->tokens().row(row).excluded != excluding);
    }
    ui.setEnabled(changes);
}

void CTessavoxFormView::OnEditSelectOutliers()
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const double chosen = doc->m_analysis.outlierLevel;
    const double level = chosen > 0.0 && chosen < 1.0 ? chosen : 0.95;
    const OutlierResult outliers = documentOutliers(*doc, level);
    int first = -1;
    int count = 0;
    for (int row = 0; row < m_grid.rowCount(); ++row) {
        const bool outlier = outliers.isOutlier(std::size_t(row));
        m_grid.setRowSelected(row, outlier);
        if (outlier && first < 0)
            first = row;
        count += outlier ? 1 : 0;
    }
    if (first >= 0)
        m_grid.scrollTo(m_grid.model()->index(first, 0));
    QStringList formants;
    for (Formant f : documentFormants(*doc))
        formants << formantName(f);
    showStatus(QStringLiteral("%1 outlier(s) at level %2 on %3, per speaker and vowel")
                   .arg(count)
                   .arg(level)
                   .arg(formants.join(QLatin1Char(','))));
}

void CTessavoxFormView::showStatus(const QString &text)
{
    m_statusText = text;
    if (auto *main = qobject_cast<QMainWindow *>(window()))
        main->statusBar()->showMessage(text, 10000);
}

void CTessavoxFormView::AssignOrder()
{
    if (CTessavoxDoc *doc = GetDocument()) {
        const CTessavoxDoc::EditStep step(doc, false);
        ::AssignOrder(doc->tokens());
    }
}

void CTessavoxFormView::OnEditPlayToken()
{
    if (const CTessavoxDoc *doc = GetDocument(); doc && m_grid.rowCount() > 0)
        TokenPlayer::instance().playRow(*doc, m_grid.activeRow(), this);
}

void CTessavoxFormView::OnUpdateEditPlayToken(CommandState &ui) const
{
    const CTessavoxDoc *doc = GetDocument();
    ui.setEnabled(doc && m_grid.rowCount() > 0 && doc->tableColumn(QStringLiteral("File")) >= 0);
}

bool CTessavoxFormView::HasOrder()
{
    const CTessavoxDoc *doc = GetDocument();
    return doc && ::HasOrder(doc->tokens());
}

void CTessavoxFormView::OnPlotF1F2()
{
    openPlotWindow(ID_PLOT_F1F2, m_pF1F2Frame);
}

void CTessavoxFormView::OnPlotF1F3()
{
    openPlotWindow(ID_PLOT_F1F3, m_pF1F3Frame);
}

void CTessavoxFormView::OnPlotF1F2Prime()
{
    Messages::show(QStringLiteral("This function is not implemented yet"));
}

void CTessavoxFormView::OnUpdatePlot(CommandState &ui) const
{
    const CTessavoxDoc *doc = GetDocument();
    ui.setEnabled(doc && doc->m_bDataLoaded);
}

void CTessavoxFormView::OnOptionsCalcDisplay()
{
    CTessavoxDoc *doc = GetDocument();
    // The dialog centres itself on the screen, as it has no parent.
    if (doc && CCalcDisplayDlg::editOptions(*doc, nullptr)) {
        update();
        m_grid.viewport()->update();
    }
}

void CTessavoxFormView::OnGridRowSelectEvent()
{
    for (int i = m_grid.nextSelected(-1); i >= 0; i = m_grid.nextSelected(i))
        m_grid.setRowSelected(i, false);
}

void CTessavoxFormView::OnSize(int cx, int cy)
{
    m_grid.resize(std::max(cx - 25, 0), std::max(cy - 25, 0));
    m_grid.show();
    m_grid.raise();
}

QSize CTessavoxFormView::sizeHint() const
{
    return kFormSize;
}

void CTessavoxFormView::resizeEvent(QResizeEvent *event)
{
    View::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void CTessavoxFormView::openPlotWindow(int commandId, QPointer<DocumentWindow> &frame)
{
    if (!HasOrder()) {
        Messages::show(LoadString(IDS_ERR_NO_ORDER));
        return;
    }
    // A frame that was closed but not yet deleted counts as gone.
    if (frame && !frame->isHidden() && !frame->isClosing()) {
        frame->showAndActivate();
        frame->raise();
        frame->update();
        if (QWidget *view = frame->widget())
            view->update();
        return;
    }
    std::erase_if(m_plotWindows, [](const PlotWindow &window) { return !window.frame; });
    std::unique_ptr<DocTemplate> docTemplate = PlotTemplates::create(commandId);
    frame = docTemplate ? docTemplate->newWindow(GetDocument()) : nullptr;
    if (!frame) {
        Messages::beep();
        Messages::show(LoadString(IDS_ERR_PLOT_VIEW));
        return;
    }
    m_plotWindows.push_back({frame, std::move(docTemplate)});
    DocTemplate::showWindow(frame);
}
