#include "batchcommand.h"

#include "tessavoxdoc.h"

#include <QTextStream>

#include <cstdio>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString &usage)
{
    err() << "usage: tessavox-batch " << usage << Qt::endl;
    return 2;
}

// Prints the records exactly as the reader produced them.
int runRecords(const QStringList &args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("records FILE"));
    CTessavoxDoc doc;
    if (!doc.OnOpenDocument(args.first()))
        return 1;
    for (int i = 0; i < doc.m_nTokenCount; ++i) {
        const FormantRecord &record = doc.m_records[std::size_t(i)];
        for (int formant : record.formants)
            out() << formant << '\t';
        out() << QString::fromUtf8(record.label.data(), record.labelLength) << '\n';
    }
    out().flush();
    return 0;
}

} // namespace

const std::vector<BatchCommand> &batchCommands()
{
    static const std::vector<BatchCommand> commands = {
        {QStringLiteral("records"), QStringLiteral("records FILE"),
         QStringLiteral("print each token line as read: F1 F2 F3 F4 F5 label, tab-separated"),
         runRecords},
    };
    return commands;
}
