#include "app/tessavoxresources.h"

#include "framework/commandids.h"

namespace {

constexpr const char *kSeparator = nullptr;

constexpr MenuItem kMainFrameMenu[] = {
    {"&File", "&New", "Ctrl+N", ID_FILE_NEW},
    {"&File", "&Open...", "Ctrl+O", ID_FILE_OPEN},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "P&rint Setup...", nullptr, ID_FILE_PRINT_SETUP},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "Recent File", nullptr, ID_FILE_MRU_FILE1},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "E&xit", nullptr, ID_APP_EXIT},
    {"&View", "&Toolbar", nullptr, ID_VIEW_TOOLBAR},
    {"&View", "&Status Bar", nullptr, ID_VIEW_STATUS_BAR},
    {"&Help", "&Help Topics", nullptr, ID_HELP_FINDER},
    {"&Help", kSeparator, nullptr, 0},
    {"&Help", "&About Tessavox...", nullptr, ID_APP_ABOUT},
};

constexpr MenuItem kDocumentMenu[] = {
    {"&File", "&New", "Ctrl+N", ID_FILE_NEW},
    {"&File", "&Open...", "Ctrl+O", ID_FILE_OPEN},
    {"&File", "&Close", nullptr, ID_FILE_CLOSE},
    {"&File", "&Save", "Ctrl+S", ID_FILE_SAVE},
    {"&File", "Save &As...", nullptr, ID_FILE_SAVE_AS},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "Save As Bitmap...", nullptr, ID_FILE_SAVE_BITMAP},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "&View/Modify ", nullptr, ID_FILE_VIEW_MODIFY},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "&Print...", "Ctrl+P", ID_FILE_PRINT},
    {"&File", "Print Pre&view", nullptr, ID_FILE_PRINT_PREVIEW},
    {"&File", "P&rint Setup...", nullptr, ID_FILE_PRINT_SETUP},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "Recent File", nullptr, ID_FILE_MRU_FILE1},
    {"&File", kSeparator, nullptr, 0},
    {"&File", "E&xit", nullptr, ID_APP_EXIT},
    {"&Edit", "&Undo", "Ctrl+Z", ID_EDIT_UNDO},
    {"&Edit", kSeparator, nullptr, 0},
    {"&Edit", "Cu&t", "Ctrl+X", ID_EDIT_CUT},
    {"&Edit", "&Copy", "Ctrl+C", ID_EDIT_COPY},
    {"&Edit", "&Paste", "Ctrl+V", ID_EDIT_PASTE},
    {"&Edit", kSeparator, nullptr, 0},
    {"&Edit", "Add Row", "Ctrl+I", ID_EDIT_ADD_ROW},
    {"&Edit", "Remove Row", "Ctrl+R", ID_EDIT_REMOVE_ROW},
    {"&Edit", kSeparator, nullptr, 0},
    {"&Edit", "Sort", nullptr, ID_EDIT_SORT},
    {"&Edit", kSeparator, nullptr, 0},
    {"&Edit", "Assign Order", nullptr, ID_EDIT_ASSIGN_ORDER},
    {"&Plot", "F1 vs F2", nullptr, ID_PLOT_F1F2},
    {"&Plot", "F1 vs F2'", nullptr, ID_PLOT_F1F2PRIME},
    {"&Plot", "F1 vs F3", nullptr, ID_PLOT_F1F3},
    {"&Options", "Calculation/Display...", nullptr, ID_OPTIONS_CALC_DISPLAY},
    {"&View", "&Toolbar", nullptr, ID_VIEW_TOOLBAR},
    {"&View", "&Status Bar", nullptr, ID_VIEW_STATUS_BAR},
    {"&Window", "&New Window", nullptr, ID_WINDOW_NEW},
    {"&Window", "&Cascade", nullptr, ID_WINDOW_CASCADE},
    {"&Window", "&Tile", nullptr, ID_WINDOW_TILE_HORZ},
    {"&Window", "&Arrange Icons", nullptr, ID_WINDOW_ARRANGE},
    {"&Help", "&Help Topics", nullptr, ID_HELP_FINDER},
    {"&Help", kSeparator, nullptr, 0},
    {"&Help", "&About Tessavox...", nullptr, ID_APP_ABOUT},
};

constexpr Accelerator kAccelerators[] = {
    {"Ctrl+N", ID_FILE_NEW},       {"Ctrl+O", ID_FILE_OPEN},       {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+P", ID_FILE_PRINT},     {"Ctrl+Z", ID_EDIT_UNDO},       {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+X", ID_EDIT_CUT},       {"Shift+Del", ID_EDIT_CUT},     {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY},    {"Ctrl+V", ID_EDIT_PASTE},      {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+I", ID_EDIT_ADD_ROW},   {"Ctrl+R", ID_EDIT_REMOVE_ROW}, {"F1", ID_HELP},
    {"Shift+F1", ID_CONTEXT_HELP}, {"F6", ID_NEXT_PANE},           {"Shift+F6", ID_PREV_PANE},
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

std::span<const Accelerator> accelerators()
{
    return kAccelerators;
}

std::span<const ToolbarButton> toolbarButtons()
{
    return kToolbar;
}

} // namespace TessavoxResources
