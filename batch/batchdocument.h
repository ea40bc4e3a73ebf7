#pragma once

#include "chartrenderer.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class CTessavoxDoc;
class CTessavoxFormView;
class PlotView;

// A Formant file opened as the program opens it: the document, its table view filled,
// sorted and numbered, and at most one chart view on it. Views go before the document.
class BatchDocument
{
public:
    // Reads `path`; the reader's message has gone to the message sink when this fails.
    static std::unique_ptr<BatchDocument> open(const QString &path);
    ~BatchDocument();

    CTessavoxDoc &doc() { return *m_doc; }
    CTessavoxFormView &table() { return *m_table; }

    // Stores a label choice as the Label Selector would: the position of the first row of
    // that order, in table order, whose symbol is `text`. False when no row has it.
    bool chooseLabel(int order, const QString &text);

    // The chart window's view, `width` x `height`, on this document.
    PlotView &addChart(ChartKind kind, int width = 800, int height = 600);

    BatchDocument(const BatchDocument &) = delete;
    BatchDocument &operator=(const BatchDocument &) = delete;

private:
    BatchDocument();

    std::unique_ptr<CTessavoxDoc> m_doc;
    std::unique_ptr<CTessavoxFormView> m_table;
    std::unique_ptr<PlotView> m_chart;
};

// "f1f2" or "f1f3" as given to --plot.
std::optional<ChartKind> parseChartKind(const QString &text);
// ORDER=TEXT as given to --label, with ORDER an order that can carry a label.
std::optional<std::pair<int, QString>> parseLabelChoice(const QString &text);
