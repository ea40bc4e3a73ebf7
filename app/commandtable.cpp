#include "app/commandtable.h"

#include "framework/commandids.h"

#include <algorithm>

namespace {

constexpr const char *kOpening = "opening";
constexpr const char *kExport = "export";
constexpr const char *kPrinting = "printing";
constexpr const char *kTable = "table";
constexpr const char *kCharts = "charts";
constexpr const char *kWindows = "windows";

constexpr Command kCommands[] = {
    // File
    {ID_FILE_NEW, "&New", "Create a new document", "New", {"Ctrl+N"}, kOpening},
    {ID_FILE_OPEN, "&Open...", "Open an existing document", "Open", {"Ctrl+O"}, kOpening},
    {ID_FILE_MEASURE_RECORDINGS,
     "&Measure Recordings...",
     "Measure the formants of the labelled vowels of recordings into a new table",
     nullptr,
     {},
     "measuring"},
    {ID_FILE_CLOSE, "&Close", "Close the active document", "Close", {}, kExport},
    {ID_FILE_SAVE, "&Save", "Save the active document", "Save", {"Ctrl+S"}, kExport},
    {ID_FILE_SAVE_AS,
     "Save &As...",
     "Save the active document with a new name",
     "Save As",
     {},
     kExport},
    {ID_FILE_SAVE_BITMAP, "Save As Bitmap...", nullptr, nullptr, {}, kExport},
    {ID_FILE_EXPORT_CHART,
     "&Export Chart...",
     "Write the chart as PNG at a chosen size and resolution, or as SVG or PDF",
     nullptr,
     {},
     kExport},
    {ID_FILE_VIEW_MODIFY, "&View/Modify ", nullptr, nullptr, {}, "menus"},
    {ID_FILE_PRINT, "&Print...", "Print the active document", "Print", {"Ctrl+P"}, kPrinting},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Display full pages", "Print Preview", {}, kPrinting},
    {ID_FILE_PRINT_SETUP,
     "P&rint Setup...",
     "Change the printer and printing options",
     "Print Setup",
     {},
     kPrinting},
    // The menu shows the recent files' names in place of a caption.
    {ID_FILE_MRU_FILE1, nullptr, "Open this document", nullptr, {}, kOpening},
    {ID_FILE_MRU_FILE2, nullptr, "Open this document", nullptr, {}, kOpening},
    {ID_FILE_MRU_FILE3, nullptr, "Open this document", nullptr, {}, kOpening},
    {ID_FILE_MRU_FILE4, nullptr, "Open this document", nullptr, {}, kOpening},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents", "Exit", {}, kExport},
    // Edit
    {ID_EDIT_UNDO, "&Undo", "Undo the last action", "Undo", {"Ctrl+Z", "Alt+Backspace"}, kTable},
    {ID_EDIT_REDO,
     "&Redo",
     "Redo the action last undone",
     "Redo",
     {"Ctrl+Y", "Ctrl+Shift+Z"},
     kTable},
    {ID_EDIT_CUT,
     "Cu&t",
     "Cut the selection and put it on the Clipboard",
     "Cut",
     {"Ctrl+X", "Shift+Del"},
     kTable},
    {ID_EDIT_COPY,
     "&Copy",
     "Copy the selection and put it on the Clipboard",
     "Copy",
     {"Ctrl+C", "Ctrl+Ins"},
     kTable},
    {ID_EDIT_PASTE,
     "&Paste",
     "Insert Clipboard contents",
     "Paste",
     {"Ctrl+V", "Shift+Ins"},
     kTable},
    {ID_EDIT_ADD_ROW, "Add Row", nullptr, nullptr, {"Ctrl+I"}, kTable},
    {ID_EDIT_REMOVE_ROW, "Remove Row", nullptr, nullptr, {"Ctrl+R"}, kTable},
    {ID_EDIT_SORT, "Sort", nullptr, nullptr, {}, kTable},
    {ID_EDIT_ASSIGN_ORDER, "Assign Order", nullptr, nullptr, {}, kTable},
    {ID_EDIT_EXCLUDE_ROWS,
     "E&xclude Rows",
     "Set the selected rows aside: they stay in the table and the file but leave the charts "
     "and figures",
     nullptr,
     {"Ctrl+E"},
     kTable},
    {ID_EDIT_INCLUDE_ROWS,
     "I&nclude Rows",
     "Take the selected rows back into the charts and figures",
     nullptr,
     {"Ctrl+Shift+E"},
     kTable},
    {ID_EDIT_SELECT_OUTLIERS,
     "Select &Outliers",
     "Select the rows whose tokens lie far from their speaker's vowel (squared Mahalanobis "
     "distance above the chi-square quantile)",
     nullptr,
     {},
     kTable},
    {ID_EDIT_PLAY_TOKEN,
     "&Play Token",
     "Play the current row's token from its recording (Space in the table, double-click in a "
     "chart)",
     nullptr,
     {},
     kTable},
    // Plot and Options
    {ID_PLOT_F1F2, "F1 vs F2", nullptr, nullptr, {}, kCharts},
    {ID_PLOT_F1F2PRIME, "F1 vs F2'", nullptr, nullptr, {}, kCharts},
    {ID_PLOT_F1F3, "F1 vs F3", nullptr, nullptr, {}, kCharts},
    {ID_PLOT_STATISTICS,
     "&Statistics",
     "Show each vowel's mean, spread and ellipse, and each speaker's vowel-space area",
     nullptr,
     {},
     kCharts},
    {ID_OPTIONS_CALC_DISPLAY, "Calculation/Display...", nullptr, nullptr, {}, "options"},
    {ID_OPTIONS_ANALYSIS,
     "&Analysis...",
     "Choose the scale, normalisation, ellipse, colours and fit of the document's charts",
     nullptr,
     {},
     "analysis"},
    // View and Window
    {ID_VIEW_RESET_ZOOM,
     "&Reset Zoom",
     "Show the whole chart again after zooming with the wheel",
     nullptr,
     {},
     kCharts},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", {}, kWindows},
    {ID_VIEW_STATUS_BAR,
     "&Status Bar",
     "Show or hide the status bar",
     "Toggle StatusBar",
     {},
     kWindows},
    {ID_WINDOW_NEW,
     "&New Window",
     "Open another window for the active document",
     "New Window",
     {},
     kWindows},
    {ID_WINDOW_CASCADE,
     "&Cascade",
     "Arrange windows so they overlap",
     "Cascade Windows",
     {},
     kWindows},
    {ID_WINDOW_TILE_HORZ,
     "&Tile",
     "Arrange windows as non-overlapping tiles",
     "Tile Windows",
     {},
     kWindows},
    {ID_WINDOW_ARRANGE,
     "&Arrange Icons",
     "Arrange icons at the bottom of the window",
     "Arrange Icons",
     {},
     kWindows},
    {ID_NEXT_PANE, nullptr, "Switch to the next window pane", "Next Pane", {"F6"}, nullptr},
    {ID_PREV_PANE,
     nullptr,
     "Switch back to the previous window pane",
     "Previous Pane",
     {"Shift+F6"},
     nullptr},
    // Help
    {ID_HELP_FINDER, "&Help Topics", "List Help topics", "Help Topics", {}, kWindows},
    {ID_DEFAULT_HELP, nullptr, nullptr, nullptr, {}, nullptr},
    {ID_HELP, nullptr, "Display help for current task or command", "Help", {"F1"}, kWindows},
    {ID_CONTEXT_HELP,
     nullptr,
     "Display help for clicked on buttons, menus and windows",
     "Help",
     {"Shift+F1"},
     kWindows},
    {ID_APP_ABOUT,
     "&About Tessavox...",
     "Display program information, version number and copyright",
     "About",
     {},
     kWindows},
};

} // namespace

namespace CommandTable {

std::span<const Command> commands()
{
    return kCommands;
}

const Command *find(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const Command &command) { return command.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

} // namespace CommandTable
