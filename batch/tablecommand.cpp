// tessavox-batch table FILE [-o OUT]: the data table as its window fills it, and File > Save.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/commandline.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/messages.h"

#include <optional>

namespace {

const QString kUsage = QStringLiteral("table FILE [--format formant|table] [--speaker COL] "
                                      "[--vowel COL] [--f1 COL] [--f2 COL] [--f3 COL] [-o OUT]");

int runTable(const QStringList &args)
{
    QString input, output;
    TokenFileOptions open;
    CommandLine line;
    line.input(input).output(output).reading(open);
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    const std::unique_ptr<BatchInput> file = BatchInput::open(QStringLiteral("table"), input, open);
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
    if (output.isEmpty())
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
    const bool saved = file->doc().OnSaveDocument(output);
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
