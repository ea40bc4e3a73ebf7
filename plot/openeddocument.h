#pragma once

#include "document/tabularreader.h"
#include "plot/chartrenderer.h"

#include <QFont>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class CTessavoxDoc;
class QPainter;

// A Formant or table file opened as the program opens it, without any window: the document
// with its rows filled, sorted and numbered as a table window leaves them. The batch tool
// and the benchmarks drive the program's classes through it.
class OpenedDocument
{
public:
    // Reads `path`; the reader's message has gone to the message sink when this fails.
    static std::unique_ptr<OpenedDocument> open(const QString &path);
    // Reads `path` as `kind` (by its name when nullopt), a table as File Open reads one,
    // with `read`'s columns; rows without F1 or F2 are left out and counted in `leftOut`.
    // Null with `error` set when the file cannot be read, when it has no column
    // `extraColumn` (when named) or no row with F1 and F2.
    static std::unique_ptr<OpenedDocument>
    open(const QString &path, std::optional<TabularFileKind> kind, const TabularReadOptions &read,
         const QString &extraColumn, QString &error, int &leftOut);
    ~OpenedDocument();

    CTessavoxDoc &doc() { return *m_doc; }

    // Stores a label choice as the Label Selector would: the position of the first row of
    // that order, in table order, whose symbol is `text`. False when no row has it.
    bool chooseLabel(int order, const QString &text);

    OpenedDocument(const OpenedDocument &) = delete;
    OpenedDocument &operator=(const OpenedDocument &) = delete;

private:
    OpenedDocument();
    // Opens with `read`, then fills the rows as a table window would.
    static std::unique_ptr<OpenedDocument> openWith(const QString &path,
                                                    bool (CTessavoxDoc::*read)(const QString &));
    // Removes the rows that lack F1 or F2 and numbers the vowels again; returns how many.
    int leaveOutRowsWithoutF1OrF2();

    std::unique_ptr<CTessavoxDoc> m_doc;
    QObject m_table; // stands for the table window that shows the rows
};

// A chart of a document as its window of `size` draws it, and as it goes to a device,
// without the window.
class DocumentChart
{
public:
    DocumentChart(const CTessavoxDoc &doc, ChartKind kind, QSize size = {800, 600});

    QSize size() const { return m_size; }
    QRect rect() const { return QRect(QPoint(0, 0), m_size); }
    ChartRenderer &renderer() { return m_renderer; }
    const CTessavoxDoc &doc() const { return m_doc; }

    // The window's picture: the client area as frame, captions in the display font.
    void drawWindow(QPainter &painter);

private:
    const CTessavoxDoc &m_doc;
    ChartRenderer m_renderer;
    QSize m_size;
    QFont m_displayFont;
    std::vector<QRect> m_hitSquares; // as many as the chart window keeps
};
