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
        // The standard prompts of framework command ids (status-bar text, then the tooltip),
        // kept as the framework numbers them. None shows in the program: every command it
        // offers, Redo and the recent files among them, takes its prompt from the command
        // table.
        {57605, QStringLiteral("Change the printing options\nPage Setup")},
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
        {57636, QStringLiteral("Find the specified text\nFind")},
        {57640, QStringLiteral("Repeat the last action\nRepeat")},
        {57641, QStringLiteral("Replace specific text with different text\nReplace")},
        {57642, QStringLiteral("Select the entire document\nSelect All")},
        {57644, QStringLiteral("Redo the previously undone action\nRedo")},
        {57652, QStringLiteral("Arrange windows as non-overlapping tiles\nTile Windows")},
        {57653, QStringLiteral("Split the active window into panes\nSplit")},
        {57666, QStringLiteral("Opens Help\nHelp Topics")},
        {57668, QStringLiteral("Display instructions about how to use help\nHelp")},
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
