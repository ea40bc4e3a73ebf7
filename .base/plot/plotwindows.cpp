#include "plot/plotwindows.h"

#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/stringtable.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f2frame.h"
#include "plot/plotviewf1f3.h"
#include "plot/plotviewf1f3frame.h"
#include "table/plottemplates.h"

#include <memory>

void RegisterPlotWindows()
{
    // The chart templates make frames and views for an existing document only; they take
    // no part in File New or File Open.
    PlotTemplates::registerFactory(ID_PLOT_F1F2, [] {
        return std::make_unique<DocTemplate>(
            IDR_TESSAVOXTYPE, nullptr, [] { return new CPlotViewF1F2Frame; },
            [] { return new CPlotViewF1F2; });
    });
    PlotTemplates::registerFactory(ID_PLOT_F1F3, [] {
        return std::make_unique<DocTemplate>(
            IDR_TESSAVOXTYPE, nullptr, [] { return new CPlotViewF1F3Frame; },
            [] { return new CPlotViewF1F3; });
    });
}
