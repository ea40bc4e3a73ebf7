// tessavox-batch records FILE: the reader's records, as a check of how a file is read.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/commandline.h"

#include "document/tessavoxdoc.h"

#include <QTextStream>

namespace {

int runRecords(const QStringList &args)
{
    QString path;
    CommandLine line;
    line.input(path);
    if (!line.parse(args))
        return batchUsageError(QStringLiteral("records FILE"), line.error());
    const std::unique_ptr<BatchInput> input = BatchInput::open(QStringLiteral("records"), path, {});
    if (!input)
        return 1;
    const CTessavoxDoc *doc = &input->doc();
    // A table's rows are not token lines; printing none of them with success would read
    // as an empty file.
    if (doc->isTableDocument()) {
        reportAnalysis(QStringLiteral("records"),
                       QStringLiteral("%1 is a table, not a Formant file: records shows how "
                                      "token lines are read; `tessavox-batch table FILE` "
                                      "prints a table's rows")
                           .arg(path));
        return 1;
    }
    QTextStream &out = batchOut();
    for (int i = 0; i < doc->m_nTokenCount; ++i) {
        const FormantRecord &record = doc->m_records[std::size_t(i)];
        for (int formant : record.formants)
            out << formant << '\t';
        out << QString::fromUtf8(record.label.data(), record.labelLength) << '\n';
    }
    out.flush();
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("records"), QStringLiteral("records FILE"),
     QStringLiteral(
         "print each token line of a Formant file as read: F1 F2 F3 F4 F5 label, tab-separated"),
     runRecords}};

} // namespace
