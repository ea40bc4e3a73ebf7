#pragma once

#include <QString>

// The program's string table by numeric id: its titles, status-bar texts and messages,
// and the framework's standard command prompts, which the command table's own prompts
// take the place of.
enum StringId : int {
    IDR_MAINFRAME = 128,
    IDR_TESSAVOXTYPE = 129,
    IDS_IDLE_MESSAGE = 57345,
    IDS_HELP_MODE_MESSAGE = 57346,
    IDS_INDICATOR_CAPS = 59137,
    IDS_INDICATOR_NUM = 59138,
    IDS_INDICATOR_SCRL = 59139,
    IDS_ERR_ZERO_LENGTH = 61446,
    IDS_ERR_FONT = 61448,
    IDS_ERR_TOO_LONG = 61449,
    IDS_ERR_PLOT_VIEW = 61451,
    IDS_ERR_BITMAP_INFO = 61452,
    IDS_ERR_BITMAP_HEADER = 61453,
    IDS_ERR_BITMAP_MEMORY = 61454,
    IDS_ERR_BITMAP_CONVERT = 61455,
    IDS_ERR_BITMAP_OPEN = 61456,
    IDS_ERR_REMOVE_ROW = 61457,
    IDS_ERR_NO_ORDER = 61458,
};

// The text stored under `id`, or an empty string when there is none.
QString LoadString(int id);
