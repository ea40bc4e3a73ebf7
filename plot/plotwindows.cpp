#include "plot/plotwindows.h"

#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/stringtable.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f2frame.h"
#include "plot/plotviewf1f3.h"
#include "plot/plotviewf1f3frame.h"
#include "plot/statisticsframe.h"
#include "plot/statisticsview.h"

namespace {

template <typename Frame, typename View> std::unique_ptr<DocTemplate> makeTemplate()
{
    return std::make_unique<DocTemplate>(
        IDR_TESSAVOXTYPE, nullptr, [] { return new Frame; }, [] { return new View; });
}

} // namespace

std::unique_ptr<DocTemplate> chartTemplate(int commandId)
{
    switch (commandId) {
    case ID_PLOT_F1F2:
        return makeTemplate<CPlotViewF1F2Frame, CPlotViewF1F2>();
    case ID_PLOT_F1F3:
        return makeTemplate<CPlotViewF1F3Frame, CPlotViewF1F3>();
    case ID_PLOT_STATISTICS:
        return makeTemplate<StatisticsFrame, StatisticsView>();
    default:
        return nullptr;
    }
}
