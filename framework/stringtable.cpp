#include "stringtable.h"

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
