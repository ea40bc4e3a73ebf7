#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/chartfonts.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <deque>

OpenedDocument::OpenedDocument() : m_doc(std::make_unique<CTessavoxDoc>()) {}

OpenedDocument::~OpenedDocument() = default;

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path)
{
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    if (!opened->m_doc->OnOpenDocument(path))
        return nullptr;
    opened->m_doc->setPathName(path, false);
    // The rows fill, sort and number themselves as when the file opens in the program.
    opened->m_doc->attachTable(&opened->m_table);
    return opened;
}

namespace {

int roundedHertz(double value)
{
    return std::isfinite(value) && value > 0 && value <= 10000 ? int(std::lround(value)) : 0;
}

// What identifies a row once the table has sorted it: its label and formants.
QString rowKey(const QString &symbol, int f1, int f2, int f3)
{
    return QStringLiteral("%1\x1f%2\x1f%3\x1f%4").arg(symbol).arg(f1).arg(f2).arg(f3);
}

} // namespace

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path,
                                                     std::optional<TabularFileKind> kind,
                                                     const TabularReadOptions &read,
                                                     const QString &extraColumn, QString &error,
                                                     int &leftOut)
{
    leftOut = 0;
    if (kind.value_or(TabularFileKindForPath(path)) == TabularFileKind::Formant) {
        // The reader has reported any failure itself.
        return open(path);
    }
    const TabularReadResult result = ReadTokenTable(path, TabularFileKind::Table, read);
    if (!result.ok()) {
        error = result.message.isEmpty() ? result.error.detail : result.message;
        return nullptr;
    }
    const TabularTable &table = result.table;
    const int extra = extraColumn.isEmpty() ? -1 : table.findColumn(extraColumn.toStdString());
    if (!extraColumn.isEmpty() && extra < 0) {
        error = QStringLiteral("the table has no column \"%1\"").arg(extraColumn);
        return nullptr;
    }

    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    CTessavoxDoc &doc = *opened->m_doc;
    std::vector<FormantRecord> records;
    QStringList speakers;
    QStringList extras;
    records.reserve(std::size_t(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const int f1 = roundedHertz(table.formant(row, 1));
        const int f2 = roundedHertz(table.formant(row, 2));
        if (f1 == 0 || f2 == 0) {
            ++leftOut;
            continue;
        }
        FormantRecord record;
        const std::string_view vowel = table.vowel(row);
        record.label.assign(vowel.substr(0, FormantLimits::kLabelBytes));
        record.labelLength = int(record.label.size());
        record.formants = {f1, f2, roundedHertz(table.formant(row, 3)), 0, 0};
        records.push_back(std::move(record));
        speakers << QString::fromUtf8(table.speaker(row));
        if (extra >= 0)
            extras << QString::fromUtf8(table.cell(row, extra));
    }
    if (records.empty()) {
        error = QStringLiteral("no row has both F1 and F2");
        return nullptr;
    }
    const int count = int(records.size());
    records.resize(std::max<std::size_t>(records.size(), FormantLimits::kRecords));
    doc.m_records = std::move(records);
    doc.m_nTokenCount = count;
    doc.m_bDataLoaded = true;
    doc.setPathName(path, false);
    doc.attachTable(&opened->m_table);

    // The table sorted the rows by label: find each row's speaker again by its content.
    // Rows alike in every shown value take their speakers in file order.
    QHash<QString, std::deque<int>> sources;
    for (int i = 0; i < count; ++i) {
        const FormantRecord &r = doc.m_records[std::size_t(i)];
        sources[rowKey(QString::fromStdString(r.label), r.formants[0], r.formants[1],
                       r.formants[2])]
            .push_back(i);
    }
    const TokenTableModel &rows = doc.tokens();
    QStringList rowSpeakers;
    QStringList rowExtras;
    for (int row = 0; row < rows.count(); ++row) {
        std::deque<int> &queue = sources[rowKey(
            rows.symbol(row), rows.number(row, TokenTableModel::F1),
            rows.number(row, TokenTableModel::F2), rows.number(row, TokenTableModel::F3))];
        const int source = queue.empty() ? -1 : queue.front();
        if (!queue.empty())
            queue.pop_front();
        rowSpeakers << (source >= 0 ? speakers[source] : QString());
        if (extra >= 0)
            rowExtras << (source >= 0 ? extras[source] : QString());
    }
    if (table.speakerColumn() >= 0)
        doc.m_analysis.rowSpeakers = rowSpeakers;
    doc.m_analysis.rowColumnValues = rowExtras;
    return opened;
}

bool OpenedDocument::chooseLabel(int order, const QString &text)
{
    const TokenTableModel &tokens = m_doc->tokens();
    int position = 0;
    for (int row = 0; row < m_doc->m_nTokenCount; ++row) {
        if (tokens.GetCellInt(row, TokenTableModel::Order) != order)
            continue;
        if (tokens.GetCellText(row, TokenTableModel::Symbol) == text) {
            m_doc->m_nOrderLabel[std::size_t(order)] = position;
            m_doc->m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
}

DocumentChart::DocumentChart(const CTessavoxDoc &doc, ChartKind kind, QSize size)
    : m_doc(doc), m_renderer(kind), m_size(size), m_displayFont(ChartFonts::displayFont()),
      m_hitSquares(kind == ChartKind::F1F2 ? 10000 : 100)
{}

void DocumentChart::drawWindow(QPainter &painter)
{
    m_renderer.DrawPlot(painter, m_doc, PlotFrame{0, 0, m_size.width(), m_size.height()}, 1,
                        m_displayFont, m_hitSquares);
}
