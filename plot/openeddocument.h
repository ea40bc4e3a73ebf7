#pragma once

#include "document/tabularreader.h"
#include "plot/chartrenderer.h"

#include <QString>

#include <memory>

class CTessavoxDoc;
class CTessavoxFormView;
class PlotView;

// A Formant file opened as the program opens it, without a window: the document, its
// table view filled, sorted and numbered, and at most one chart view on it. The batch
// tool and the benchmarks drive the program's classes through it. Views go before the
// document.
class OpenedDocument
{
public:
    // Reads `path`; the reader's message has gone to the message sink when this fails.
    static std::unique_ptr<OpenedDocument> open(const QString &path);
    // Reads `path` as `kind` (by its name when nullopt). A table's rows become the
    // document's tokens (vowel as label, F1 to F3 rounded to hertz; rows without F1 or F2
    // are left out and counted in `leftOut`); its speakers, and the values of
    // `extraColumn` when named, go to the document's analysis options. nullopt-like null
    // with `error` set when the file cannot be read.
    static std::unique_ptr<OpenedDocument>
    open(const QString &path, std::optional<TabularFileKind> kind, const TabularReadOptions &read,
         const QString &extraColumn, QString &error, int &leftOut);
    ~OpenedDocument();

    CTessavoxDoc &doc() { return *m_doc; }
    CTessavoxFormView &table() { return *m_table; }

    // Stores a label choice as the Label Selector would: the position of the first row of
    // that order, in table order, whose symbol is `text`. False when no row has it.
    bool chooseLabel(int order, const QString &text);

    // The chart window's view, `width` x `height`, on this document.
    PlotView &addChart(ChartKind kind, int width = 800, int height = 600);

    OpenedDocument(const OpenedDocument &) = delete;
    OpenedDocument &operator=(const OpenedDocument &) = delete;

private:
    OpenedDocument();

    std::unique_ptr<CTessavoxDoc> m_doc;
    std::unique_ptr<CTessavoxFormView> m_table;
    std::unique_ptr<PlotView> m_chart;
};
