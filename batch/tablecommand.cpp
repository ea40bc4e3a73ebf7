// tessavox-batch table FILE [-o OUT]: the data table as its window fills it, and File > Save.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/commandline.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/messages.h"

#include <QHash>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

namespace {

const QString kUsage = QStringLiteral("table FILE [--format formant|table] [--speaker COL] "
                                      "[--vowel COL] [--f1 COL] [--f2 COL] [--f3 COL] [-o OUT]");

// The rows as the window shows their cells, tab-separated. Written in large blocks, each
// symbol's and speaker's UTF-8 made once: a corpus has millions of rows and a few of each.
bool printRows(const TokenTableModel &tokens)
{
    QHash<const QChar *, QByteArray> utf8;
    const auto textOf = [&utf8](const QString &text) -> const QByteArray & {
        auto found = utf8.find(text.constData());
        if (found == utf8.end())
            found = utf8.insert(text.constData(), text.toUtf8());
        return *found;
    };
    const int columns = tokens.columnCount();
    std::string out;
    out.reserve(std::size_t(1) << 20);
    char digits[16];
    for (int row = 0; row < tokens.count(); ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column == TokenTableModel::Symbol) {
                const QByteArray &text = textOf(tokens.symbol(row));
                out.append(text.constData(), std::size_t(text.size()));
            } else if (column == TokenTableModel::Speaker) {
                const QByteArray &text = textOf(tokens.row(row).speaker);
                out.append(text.constData(), std::size_t(text.size()));
            } else if (!tokens.isEmpty(row, column)) {
                const auto end =
                    std::to_chars(digits, digits + sizeof digits, tokens.number(row, column)).ptr;
                out.append(digits, std::size_t(end - digits));
            }
            out += column + 1 < columns ? '\t' : '\n';
        }
        if (out.size() >= (std::size_t(1) << 20) || row + 1 == tokens.count()) {
            if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size())
                return false;
            out.clear();
        }
    }
    return std::fflush(stdout) == 0;
}

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
    if (!printRows(file->doc().tokens())) {
        batchErr() << "tessavox-batch table: cannot write to standard output" << Qt::endl;
        return 1;
    }
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
