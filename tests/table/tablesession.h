#pragma once

// Documents opened as the program opens them: the real table view in an MDI area, the real
// chart windows, New Window as the main window makes it, and every message captured.

#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/documentwindow.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "plot/plotwindows.h"
#include "table/plottemplates.h"
#include "table/tessavoxformview.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QMdiArea>

#include <tuple>
#include <vector>

using Row = std::tuple<int, int, int, QString>;

// Sorted, the three "a" rows come first, then the three "i" rows, then "u".
inline const std::vector<Row> kVowels = {
    {300, 2300, 2900, "i"}, {700, 1200, 2500, "a"}, {320, 2200, 2800, "i"}, {310, 2400, 2700, "i"},
    {350, 800, 2300, "u"},  {690, 1250, 2450, "a"}, {720, 1150, 2550, "a"}};

// Deletes closed windows, those closing with them, and a document whose last one went.
inline void settle()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The document's windows showing a V that are not on their way out, in window order.
template <typename V> std::vector<V *> windows(const CTessavoxDoc *doc)
{
    std::vector<V *> result;
    for (View *view : doc->views()) {
        const DocumentWindow *frame = DocumentWindow::frameOf(view);
        if (auto *v = qobject_cast<V *>(view); v && frame && !frame->isClosing())
            result.push_back(v);
    }
    return result;
}

// What the main window's New Window does for the active document.
inline CTessavoxFormView *newWindow(CTessavoxDoc *doc)
{
    DocumentWindow *frame = doc->docTemplate()->newWindow(doc);
    if (!frame)
        return nullptr;
    DocTemplate::showWindow(frame);
    return qobject_cast<CTessavoxFormView *>(frame->activeView());
}

// As the cell editor hands a typed value to the grid.
inline bool type(CTessavoxFormView *table, int row, int column, const QVariant &value)
{
    QAbstractItemModel *model = table->grid().model();
    return model->setData(model->index(row, column), value);
}

// The table's rows as the writer reads them.
inline std::vector<Row> tableRows(const CTessavoxFormView *table)
{
    std::vector<Row> rows;
    for (int row = 0; row < table->GetDocument()->m_nTokenCount; ++row)
        rows.emplace_back(table->GetCellInt(row, 0), table->GetCellInt(row, 1),
                          table->GetCellInt(row, 2), table->GetCellText(row, 3));
    return rows;
}

// The file's records in file order, read into a fresh document; none when it does not open.
inline std::vector<FormantRecord> fileRecords(const QString &path)
{
    CTessavoxDoc doc;
    if (!doc.OnOpenDocument(path))
        return {};
    return {doc.m_records.begin(), doc.m_records.begin() + doc.m_nTokenCount};
}

inline std::vector<Row> fileRows(const QString &path)
{
    std::vector<Row> rows;
    for (const FormantRecord &r : fileRecords(path))
        rows.emplace_back(r.formants[0], r.formants[1], r.formants[2],
                          QString::fromUtf8(r.label.data(), r.labelLength));
    return rows;
}

// The real table view in an MDI area, the real chart windows, and every message captured.
struct TableSession
{
    TestFiles files;
    QString path = files.path("tokens.txt");
    QMdiArea area;
    DocTemplate docTemplate{IDR_TESSAVOXTYPE, [] { return new CTessavoxDoc; },
                            [] { return new DocumentWindow; },
                            [] { return new CTessavoxFormView; }};
    MessageCapture capture;

    TableSession()
    {
        PlotTemplates::setFactory(chartTemplate);
        area.resize(1200, 900);
        area.show();
        DocTemplate::setMdiArea(&area);
    }
    ~TableSession()
    {
        area.closeAllSubWindows();
        settle();
        DocTemplate::setMdiArea(nullptr);
        PlotTemplates::setFactory({});
    }
    CTessavoxDoc *open() { return static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(path)); }
    // The table window of a file holding `rows`, or of a new document when there are none.
    CTessavoxFormView *openTable(const std::vector<Row> &rows)
    {
        QByteArray text = "F1 F2 F3 vowel\r\n";
        for (const auto &[f1, f2, f3, label] : rows) {
            for (int value : {f1, f2, f3})
                text += QByteArray::number(value).rightJustified(3, '0') + '\t';
            text += '"' + label.toUtf8() + "\"\t\r\n";
        }
        files.write("tokens.txt", text);
        auto *doc =
            static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(rows.empty() ? "" : path));
        return doc ? windows<CTessavoxFormView>(doc).front() : nullptr;
    }
    // The table window of a table file holding `text`, opened as File Open opens it.
    CTessavoxFormView *openCsv(const QByteArray &text, const QString &name = "tokens.csv")
    {
        auto *doc =
            static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(files.write(name, text)));
        return doc ? windows<CTessavoxFormView>(doc).front() : nullptr;
    }
};

// kVowels as a table with one speaker, s1.
inline QByteArray vowelsCsv()
{
    QByteArray text = "speaker,vowel,F1,F2,F3\n";
    for (const auto &[f1, f2, f3, label] : kVowels)
        text += "s1," + label.toUtf8() + ',' + QByteArray::number(f1) + ',' +
                QByteArray::number(f2) + ',' + QByteArray::number(f3) + '\n';
    return text;
}
