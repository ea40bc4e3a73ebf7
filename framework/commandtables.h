#pragma once

#include <array>

// Commands, menus and toolbars are described as data, one row per entry, and built into
// actions by the main window.

// One command as the user meets it: its menu caption, its status-bar prompt and tooltip,
// its keys and the user guide's topic on it. A menu shows the first key beside the caption;
// every key runs the command, whichever menu shows.
struct Command
{
    int id;
    const char *caption;              // nullptr for a command that no menu shows
    const char *prompt;               // status-bar text, or nullptr
    const char *tooltip;              // nullptr: none of its own
    std::array<const char *, 2> keys; // QKeySequence's portable text; unused slots nullptr
    const char *helpTopic;            // an anchor of the user guide, or nullptr
};

// One menu item. Rows with the same `menu` make one drop-down menu, in the order given;
// id 0 is a separator.
struct MenuItem
{
    const char *menu;
    int id;
};

// One toolbar entry: a command and its image in the toolbar's image strip; id 0 is a
// separator.
struct ToolbarButton
{
    int id;
    int image;
};
