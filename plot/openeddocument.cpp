#include "plot/openeddocument.h"

#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f3.h"
#include "table/tessavoxformview.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <deque>

OpenedDocument::OpenedDocument() : m_doc(std::make_unique<CTessavoxDoc>()) {}

OpenedDocument::~OpenedDocument()
{
    m_chart.reset();
    m_table.reset();
}

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path)
{
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    if (!opened->m_doc->OnOpenDocument(path))
        return nullptr;
    opened->m_doc->setPathName(path, false);
    // The table fills, sorts and numbers itself as when the file opens in the program.
    opened->m_table = std::make_unique<CTessavoxFormView>();
    opened->m_doc->addView(opened->m_table.get());
    opened->m_table->OnInitialUpdate();
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
    opened->m_table = std::make_unique<CTessavoxFormView>();
    doc.addView(opened->m_table.get());
    opened->m_table->OnInitialUpdate();

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
    int position = 0;
    for (int row = 0; row < m_doc->m_nTokenCount; ++row) {
        if (m_table->GetCellInt(row, TokenTableModel::Order) != order)
            continue;
        if (m_table->GetCellText(row, TokenTableModel::Symbol) == text) {
            m_doc->m_nOrderLabel[std::size_t(order)] = position;
            m_doc->m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
}

PlotView &OpenedDocument::addChart(ChartKind kind, int width, int height)
{
    m_chart.reset();
    if (kind == ChartKind::F1F2)
        m_chart = std::make_unique<CPlotViewF1F2>();
    else
        m_chart = std::make_unique<CPlotViewF1F3>();
    m_doc->addView(m_chart.get());
    m_chart->resize(width, height);
    m_chart->OnInitialUpdate();
    return *m_chart;
}
