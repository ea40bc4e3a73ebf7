#pragma once

// Menus, accelerators and toolbars are described as data, one row per entry, and built
// into actions by the main window.

// One menu item. Rows with the same `menu` make one drop-down menu, in the order given;
// a row whose caption is nullptr is a separator.
struct MenuItem
{
    const char *menu;
    const char *caption;
    const char *shortcut; // text shown at the right of the item, or nullptr
    int id;
};

// One key binding, in QKeySequence's portable text ("Ctrl+N", "Shift+Del").
struct Accelerator
{
    const char *keys;
    int id;
};

// One toolbar entry: a command and its image in the toolbar's image strip; id 0 is a
// separator.
struct ToolbarButton
{
    int id;
    int image;
};
