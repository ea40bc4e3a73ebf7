// tessavox-batch table FILE [-o OUT]: the data table as its window fills it, and File > Save.

#include "batch/batchcommand.h"
#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/messages.h"

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
        const int columns = tokens.columnCount();
        for (int column = 0; column < columns; ++column)
            out << tokens.cellText(row, column) << (column + 1 < columns ? '\t' : '\n');
    }
    out.flush();
    if (options->output.isEmpty())
        return 0;
    // File > Save's own writer; its message has gone to standard error when it fails. What a
    // Tessavox file would lose of a table is said, and nothing is written: no one is here
    // to agree to the loss.
    Messages::Sink sink = Messages::setSink({});
    Messages::Sink refusing = sink;
    refusing.question = [](const QString &text) {
        batchErr() << "tessavox-batch table: " << text << " Not written: save it as .csv or .tsv."
                   << Qt::endl;
        return Messages::Answer::No;
    };
    Messages::setSink(refusing);
    const bool saved = file->doc().OnSaveDocument(options->output);
    Messages::setSink(sink);
    if (!saved)
        return 1;
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("table"), kUsage,
     QStringLiteral("print the table as its window fills it (sorted, vowels "
                    "numbered): F1 F2 F3 Symbol Order, and "
                    "Speaker for a table with speakers, tab-separated; -o saves it as File > "
                    "Save does, as a table when OUT ends in .csv or .tsv"),
     runTable}};

} // namespace
