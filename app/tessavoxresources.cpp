#include "app/tessavoxresources.h"

#include "framework/commandids.h"

namespace {

constexpr MenuItem kMainFrameMenu[] = {
    {"&File", ID_FILE_NEW},
    {"&File", ID_FILE_OPEN},
    {"&File", ID_FILE_MEASURE_RECORDINGS},
    {"&File", 0},
    {"&File", ID_FILE_PRINT_SETUP},
    {"&File", 0},
    {"&File", ID_FILE_MRU_FILE1},
    {"&File", 0},
    {"&File", ID_APP_EXIT},
    {"&View", ID_VIEW_TOOLBAR},
    {"&View", ID_VIEW_STATUS_BAR},
    {"&Help", ID_HELP_FINDER},
    {"&Help", 0},
    {"&Help", ID_APP_ABOUT},
};

constexpr MenuItem kDocumentMenu[] = {
    {"&File", ID_FILE_NEW},
    {"&File", ID_FILE_OPEN},
    {"&File", ID_FILE_MEASURE_RECORDINGS},
    {"&File", ID_FILE_CLOSE},
    {"&File", ID_FILE_SAVE},
    {"&File", ID_FILE_SAVE_AS},
    {"&File", 0},
    {"&File", ID_FILE_SAVE_BITMAP},
    {"&File", ID_FILE_EXPORT_CHART},
    {"&File", 0},
    {"&File", ID_FILE_VIEW_MODIFY},
    {"&File", 0},
    {"&File", ID_FILE_PRINT},
    {"&File", ID_FILE_PRINT_PREVIEW},
    {"&File", ID_FILE_PRINT_SETUP},
    {"&File", 0},
    {"&File", ID_FILE_MRU_FILE1},
    {"&File", 0},
    {"&File", ID_APP_EXIT},
    {"&Edit", ID_EDIT_UNDO},
    {"&Edit", ID_EDIT_REDO},
    {"&Edit", 0},
    {"&Edit", ID_EDIT_CUT},
    {"&Edit", ID_EDIT_COPY},
    {"&Edit", ID_EDIT_PASTE},
    {"&Edit", 0},
    {"&Edit", ID_EDIT_ADD_ROW},
    {"&Edit", ID_EDIT_REMOVE_ROW},
    {"&Edit", 0},
    {"&Edit", ID_EDIT_SORT},
    {"&Edit", 0},
    {"&Edit", ID_EDIT_ASSIGN_ORDER},
    {"&Edit", 0},
    {"&Edit", ID_EDIT_EXCLUDE_ROWS},
    {"&Edit", ID_EDIT_INCLUDE_ROWS},
    {"&Edit", ID_EDIT_SELECT_OUTLIERS},
    {"&Edit", ID_EDIT_PLAY_TOKEN},
    {"&Plot", ID_PLOT_F1F2},
    {"&Plot", ID_PLOT_F1F2PRIME},
    {"&Plot", ID_PLOT_F1F3},
    {"&Plot", ID_PLOT_STATISTICS},
    {"&Options", ID_OPTIONS_CALC_DISPLAY},
    {"&Options", ID_OPTIONS_ANALYSIS},
    {"&View", ID_VIEW_TOOLBAR},
    {"&View", ID_VIEW_STATUS_BAR},
    {"&View", 0},
    {"&View", ID_VIEW_RESET_ZOOM},
    {"&Window", ID_WINDOW_NEW},
    {"&Window", ID_WINDOW_CASCADE},
    {"&Window", ID_WINDOW_TILE_HORZ},
    {"&Window", ID_WINDOW_ARRANGE},
    {"&Help", ID_HELP_FINDER},
    {"&Help", 0},
    {"&Help", ID_APP_ABOUT},
};

// Image indexes into the nine-image strip: new, open, save, cut, copy, paste, print,
// about, context help.
constexpr ToolbarButton kToolbar[] = {
    {ID_FILE_NEW, 0},   {ID_FILE_OPEN, 1},
    {ID_FILE_SAVE, 2},  {0, 0},
    {ID_EDIT_CUT, 3},   {ID_EDIT_COPY, 4},
    {ID_EDIT_PASTE, 5}, {0, 0},
    {ID_FILE_PRINT, 6}, {0, 0},
    {ID_APP_ABOUT, 7},  {ID_CONTEXT_HELP, 8},
};

} // namespace

namespace TessavoxResources {

std::span<const MenuItem> mainFrameMenu()
{
    return kMainFrameMenu;
}

std::span<const MenuItem> documentMenu()
{
    return kDocumentMenu;
}

std::span<const ToolbarButton> toolbarButtons()
{
    return kToolbar;
}

} // namespace TessavoxResources
