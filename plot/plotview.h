#pragma once

#include "framework/view.h"
#include "plot/chartrenderer.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class CTessavoxDoc;
class QPainter;
class QRubberBand;
struct PrintInfo;

// What the F1-F2 and F1-F3 chart windows share: drawing the document's table through
// the chart renderer at every paint, the click squares of mixed groups, label
// selection by clicking a group's label, printing and Save As Bitmap. Tokens lead to their
// rows: a click makes the row current in the table windows, a dragged rectangle selects
// rows, selected rows are highlighted, a tooltip names the token and a double-click plays
// it. The wheel (or Ctrl+plus and Ctrl+minus) zooms, a drag with Shift (or the middle
// button) pans. A chart only shows a
// document, so it does not keep the document open on its own.
class PlotView : public View
{
    Q_OBJECT

public:
    ~PlotView() override;

    CTessavoxDoc *GetDocument() const;
    const ChartRenderer &renderer() const { return m_renderer; }
    ChartRenderer &renderer() { return m_renderer; }

    // The window's chart into `painter` with the client area as frame.
    void OnDraw(QPainter &painter);
    void DrawPlot(QPainter &painter, int zoom);
    // The chart into any device (print, preview, bitmap); records no click squares.
    void DrawPlotToDC(QPainter &painter, const PlotFrame &frame, int unit, int zoom);

    // Opens the Label Selector for the first mixed group (orders 0 to 99) whose square
    // holds `point`, and stores the choice in the document.
    void OnLButtonUp(const QPoint &point);

    // Asks for a file name and saves the chart as a Windows bitmap, reporting failure.
    void OnFileSaveBitmap();
    // File > Export Chart...: PNG at a chosen size and resolution, SVG or PDF.
    void OnFileExportChart();

    // Click squares by order number; all empty until a mixed group has been drawn.
    std::span<const QRect> labelHits() const { return m_rcLabelHit; }

    // tokens and rows
    // The row of the token drawn under `point` at the last paint, or -1.
    int tokenAt(const QPoint &point) const;
    // Makes `row` current in every table window of the document, scrolled into view.
    void showRowInTables(int row);
    // Selects the rows of the tokens inside `area` (window pixels); with `add`, rows
    // already selected stay so.
    void selectRowsIn(const QRect &area, bool add);
    // Speaker, vowel and formants of the row; file and time for a measured table.
    QString tokenToolTip(int row) const;

    // zoom
    // Zooms by `factor` about `at` (window pixels), which stays where it is.
    void zoomAt(const QPoint &at, double factor);
    void panBy(const QPoint &pixels);
    // View > Reset Zoom: the whole chart again.
    void OnViewResetZoom();

    // reimplemented from View
    // Follows the document's rows from now on: any edit, from any window, repaints.
    void OnInitialUpdate() override;
    bool keepsDocumentOpen() const override { return false; }
    // The page's title and chart frame, then the chart at twice the window's scale.
    void OnPrint(QPainter &painter, PrintInfo &info) override;

protected:
    // `labelHitCount`: how many order numbers keep a click square; entries are
    // overwritten by later paints, never emptied.
    PlotView(ChartKind kind, std::size_t labelHitCount, QWidget *parent);

    // reimplemented from QWidget
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Puts what the last drawing said in the status bar (see paintEvent).
    void showDrawingMessages();
    // Whether a click at `point` lands on a mixed group's click square.
    bool onLabelSquare(const QPoint &point) const;

    std::unique_ptr<QFont> m_pDisplayFont; // captions and tick labels on screen
    ChartRenderer m_renderer;
    std::vector<QRect> m_rcLabelHit;     // indexed by order number
    QString m_shownMessages;             // the drawing's messages last put in the status bar
    QRubberBand *m_rubberBand = nullptr; // owned through the widget tree, made on use
    QPoint m_pressAt;
    QPoint m_panFrom;
    bool m_panning = false;
};
