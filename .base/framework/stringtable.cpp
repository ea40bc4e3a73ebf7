#include "framework/stringtable.h"

#include <QHash>

namespace {

const QHash<int, QString> &table()
{
    static const QHash<int, QString> strings = {
        {IDR_MAINFRAME, QStringLiteral("Tessavox")},
        {IDR_TESSAVOXTYPE,
         QStringLiteral("\nTessavox\nTessavox\nTessavox Files (*.txt)\n.txt\nTessavox.Document\n"
                        "Tessavox Document")},
        {57344, QStringLiteral("Tessavox")},
        // Command prompts: status-bar text, then the tooltip after the newline.
        {57600, QStringLiteral("Create a new document\nNew")},
        {57601, QStringLiteral("Open an existing document\nOpen")},
        {57602, QStringLiteral("Close the active document\nClose")},
        {57603, QStringLiteral("Save the active document\nSave")},
        {57604, QStringLiteral("Save the active document with a new name\nSave As")},
        {57605, QStringLiteral("Change the printing options\nPage Setup")},
        {57606, QStringLiteral("Change the printer and printing options\nPrint Setup")},
        {57607, QStringLiteral("Print the active document\nPrint")},
        {57609, QStringLiteral("Display full pages\nPrint Preview")},
        {57616, QStringLiteral("Open this document")},
        {57617, QStringLiteral("Open this document")},
        {57618, QStringLiteral("Open this document")},
        {57619, QStringLiteral("Open this document")},
        {57620, QStringLiteral("Open this document")},
        {57621, QStringLiteral("Open this document")},
        {57622, QStringLiteral("Open this document")},
        {57623, QStringLiteral("Open this document")},
        {57624, QStringLiteral("Open this document")},
        {57625, QStringLiteral("Open this document")},
        {57626, QStringLiteral("Open this document")},
        {57627, QStringLiteral("Open this document")},
        {57628, QStringLiteral("Open this document")},
        {57629, QStringLiteral("Open this document")},
        {57630, QStringLiteral("Open this document")},
        {57631, QStringLiteral("Open this document")},
        {57632, QStringLiteral("Erase the selection\nErase")},
        {57633, QStringLiteral("Erase everything\nErase All")},
        {57634, QStringLiteral("Copy the selection and put it on the Clipboard\nCopy")},
        {57635, QStringLiteral("Cut the selection and put it on the Clipboard\nCut")},
        {57636, QStringLiteral("Find the specified text\nFind")},
        {57637, QStringLiteral("Insert Clipboard contents\nPaste")},
        {57640, QStringLiteral("Repeat the last action\nRepeat")},
        {57641, QStringLiteral("Replace specific text with different text\nReplace")},
        {57642, QStringLiteral("Select the entire document\nSelect All")},
        {57643, QStringLiteral("Undo the last action\nUndo")},
        {57644, QStringLiteral("Redo the previously undone action\nRedo")},
        {57648, QStringLiteral("Open another window for the active document\nNew Window")},
        {57649, QStringLiteral("Arrange icons at the bottom of the window\nArrange Icons")},
        {57650, QStringLiteral("Arrange windows so they overlap\nCascade Windows")},
        {57651, QStringLiteral("Arrange windows as non-overlapping tiles\nTile Windows")},
        {57652, QStringLiteral("Arrange windows as non-overlapping tiles\nTile Windows")},
        {57653, QStringLiteral("Split the active window into panes\nSplit")},
        {57664, QStringLiteral("Display program information, version number and copyright\nAbout")},
        {57665, QStringLiteral("Quit the application; prompts to save documents\nExit")},
        {57666, QStringLiteral("Opens Help\nHelp Topics")},
        {57667, QStringLiteral("List Help topics\nHelp Topics")},
        {57668, QStringLiteral("Display instructions about how to use help\nHelp")},
        {57669, QStringLiteral("Display help for clicked on buttons, menus and windows\nHelp")},
        {57670, QStringLiteral("Display help for current task or command\nHelp")},
        {57680, QStringLiteral("Switch to the next window pane\nNext Pane")},
        {57681, QStringLiteral("Switch back to the previous window pane\nPrevious Pane")},
        {59392, QStringLiteral("Show or hide the toolbar\nToggle ToolBar")},
        {59393, QStringLiteral("Show or hide the status bar\nToggle StatusBar")},
        // Status bar
        {IDS_IDLE_MESSAGE, QStringLiteral("For Help, press F1")},
        {IDS_HELP_MODE_MESSAGE, QStringLiteral("Select an object on which to get Help")},
        {59136, QStringLiteral("EXT")},
        {IDS_INDICATOR_CAPS, QStringLiteral("CAP")},
        {IDS_INDICATOR_NUM, QStringLiteral("NUM")},
        {IDS_INDICATOR_SCRL, QStringLiteral("SCRL")},
        {59140, QStringLiteral("OVR")},
        {59141, QStringLiteral("REC")},
        // Window operations
        {61184, QStringLiteral("Change the window size")},
        {61185, QStringLiteral("Change the window position")},
        {61186, QStringLiteral("Reduce the window to an icon")},
        {61187, QStringLiteral("Enlarge the window to full size")},
        {61188, QStringLiteral("Switch to the next document window")},
        {61189, QStringLiteral("Switch to the previous document window")},
        {61190, QStringLiteral("Close the active window and prompts to save the documents")},
        {61202, QStringLiteral("Restore the window to normal size")},
        {61203, QStringLiteral("Activate Task List")},
        {61215, QStringLiteral("Activate this window")},
        {61445, QStringLiteral("Close print preview mode\nCancel Preview")},
        {IDS_ERR_ZERO_LENGTH, QStringLiteral("The file has zero length.\nIt cannot be read")},
        {IDS_ERR_FONT, QStringLiteral("Could not create a font.\nDefault will be used.")},
        {IDS_ERR_TOO_LONG,
         QStringLiteral("File is too long.\nThis version can read only maximum of 1000 lines "
                        "in.\nPlease edit the file to shorten it and try again.")},
        {IDS_ERR_PLOT_VIEW, QStringLiteral("Could not create the plot view.")},
        {IDS_ERR_BITMAP_INFO, QStringLiteral("Error in getting bitmap information.")},
        {IDS_ERR_BITMAP_HEADER, QStringLiteral("Error in creating bitmap file header.")},
        {IDS_ERR_BITMAP_MEMORY, QStringLiteral("Error in getting memory to create bitmap.")},
        {IDS_ERR_BITMAP_CONVERT, QStringLiteral("Error in converting bitmap.")},
        {IDS_ERR_BITMAP_OPEN, QStringLiteral("Error in opening the bitmap file.")},
        {IDS_ERR_REMOVE_ROW, QStringLiteral("Cannot remove row.")},
        {IDS_ERR_NO_ORDER,
         QStringLiteral("There is no order in the data table.\nEither enter order manually or use "
                        "Edit->Assign Order to assign them automatically.")},
    };
    return strings;
}

} // namespace

QString LoadString(int id)
{
    return table().value(id);
}
