// tessavox-batch table FILE [-o OUT]: the data table as its window fills it, and File > Save.

#include "batch/batchcommand.h"
#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"

#include <optional>

namespace {

const QString kUsage = QStringLiteral("table FILE [-o OUT]");

struct TableOptions
{
    QString input;
    QString output;
};

std::optional<TableOptions> parseArgs(const QStringList &args)
{
    TableOptions options;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") && i + 1 < args.size() && options.output.isEmpty())
            options.output = args[++i];
        else if (!args[i].startsWith(QLatin1Char('-')) && options.input.isEmpty())
            options.input = args[i];
        else
            return std::nullopt;
    }
    if (options.input.isEmpty())
        return std::nullopt;
    return options;
}

int runTable(const QStringList &args)
{
    const std::optional<TableOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);
    const std::unique_ptr<OpenedDocument> file = OpenedDocument::open(options->input);
    if (!file)
        return 1;
    const TokenTableModel &tokens = file->doc().tokens();
    QTextStream &out = batchOut();
    for (int row = 0; row < tokens.count(); ++row) {
        for (int column = 0; column < TokenTableModel::ColumnCount; ++column) {
            out << tokens.cellText(row, column)
                << (column + 1 < TokenTableModel::ColumnCount ? '\t' : '\n');
        }
    }
    out.flush();
    // File > Save's own writer; its message has gone to standard error when it fails.
    if (!options->output.isEmpty() && !file->doc().OnSaveDocument(options->output))
        return 1;
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("table"), kUsage,
     QStringLiteral("print the table as its window fills it (sorted, vowels numbered): F1 F2 F3 "
                    "Symbol Order, tab-separated; -o saves it as File > Save does"),
     runTable}};

} // namespace
