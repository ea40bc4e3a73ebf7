#pragma once

// Documents opened the way the program opens them: a template with the real table view
// in an MDI area, the real chart windows registered, Window > New Window made the way the
// main window makes it, and every message captured.

#include "childframe.h"
#include "commandids.h"
#include "doctemplate.h"
#include "messages.h"
#include "plottemplates.h"
#include "plotview.h"
#include "plotwindows.h"
#include "stringtable.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QImage>
#include <QMdiArea>

#include <memory>
#include <vector>

struct TableSession
{
    TestFiles files;
    QMdiArea area;
    DocTemplate docTemplate{IDR_TESSAVOXTYPE, [] { return new CTessavoxDoc; },
                            [] { return new ChildFrame; }, [] { return new CTessavoxFormView; }};
    MessageCapture capture;

    TableSession()
    {
        RegisterPlotWindows();
        area.resize(1200, 900);
        area.show();
        DocTemplate::setMdiArea(&area);
    }
    ~TableSession()
    {
        area.closeAllSubWindows();
        settle();
        DocTemplate::setMdiArea(nullptr);
        PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
        PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
    }

    // Deletes closed windows, the windows that closed with them, and a document whose
    // last window went.
    static void settle()
    {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CTessavoxDoc *open(const QString &path)
    {
        return static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(path));
    }

    // What the main window's New Window does for the active document.
    static CTessavoxFormView *newWindow(CTessavoxDoc *doc)
    {
        ChildFrame *frame = doc->docTemplate()->CreateNewFrame(doc);
        if (!frame)
            return nullptr;
        doc->docTemplate()->InitialUpdateFrame(frame, doc);
        return qobject_cast<CTessavoxFormView *>(frame->activeView());
    }

    // The document's table windows that are not on their way out, in window order.
    static std::vector<CTessavoxFormView *> tableViews(const CTessavoxDoc *doc)
    {
        std::vector<CTessavoxFormView *> result;
        for (View *view : doc->views()) {
            auto *table = qobject_cast<CTessavoxFormView *>(view);
            const ChildFrame *frame = ChildFrame::frameOf(view);
            if (table && frame && !frame->isClosing())
                result.push_back(table);
        }
        return result;
    }

    static std::vector<PlotView *> charts(const CTessavoxDoc *doc)
    {
        std::vector<PlotView *> result;
        for (View *view : doc->views()) {
            auto *chart = qobject_cast<PlotView *>(view);
            const ChildFrame *frame = ChildFrame::frameOf(view);
            if (chart && frame && !frame->isClosing())
                result.push_back(chart);
        }
        return result;
    }

    // The chart window's own paint event, at its window size.
    static QImage paint(PlotView *chart) { return chart->grab().toImage(); }

    // The file at `path` read into a fresh document with no window.
    static std::unique_ptr<CTessavoxDoc> readBack(const QString &path)
    {
        auto doc = std::make_unique<CTessavoxDoc>();
        if (!doc->OnOpenDocument(path))
            return nullptr;
        return doc;
    }
};
