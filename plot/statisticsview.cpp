#include "plot/statisticsview.h"

#include "analysis/statisticstable.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/filedialogs.h"
#include "framework/fileerror.h"
#include "framework/messages.h"
#include "framework/safefile.h"
#include "plot/analysischart.h"
#include "plot/overlappanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

StatisticsView::StatisticsView(QWidget *parent) : View(parent)
{
    m_table = new QTableWidget(this);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The notes below take a few lines and scroll; the table takes the rest of the window.
    m_areas = new QPlainTextEdit(this);
    m_areas->setReadOnly(true);
    m_areas->setObjectName(QStringLiteral("IDC_STATISTICS_NOTES"));
    m_areas->setMaximumHeight(m_areas->fontMetrics().lineSpacing() * 7);
    auto *copy = new QPushButton(QStringLiteral("&Copy"), this);
    auto *save = new QPushButton(QStringLiteral("&Save As..."), this);
    connect(copy, &QPushButton::clicked, this, &StatisticsView::OnEditCopy);
    connect(save, &QPushButton::clicked, this, &StatisticsView::OnFileSaveStatistics);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch();
    auto *groups = new QWidget(this);
    auto *groupLayout = new QVBoxLayout(groups);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    groupLayout->addWidget(m_table, 1);
    groupLayout->addWidget(m_areas);
    m_overlap = new OverlapPanel(this);
    connect(m_overlap, &OverlapPanel::pairsChanged, this, &StatisticsView::refresh);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(groups, QStringLiteral("&Groups"));
    m_tabs->addTab(m_overlap, QStringLiteral("&Overlap"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    addCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    resize(760, 360);
}

CTessavoxDoc *StatisticsView::GetDocument() const
{
    return qobject_cast<CTessavoxDoc *>(document());
}

void StatisticsView::OnInitialUpdate()
{
    View::OnInitialUpdate();
    if (CTessavoxDoc *doc = GetDocument()) {
        // Table edits reach the charts through the rows' model; the numbers follow them.
        TokenTableModel *rows = &doc->tokens();
        connect(rows, &QAbstractItemModel::modelReset, this, &StatisticsView::refresh);
        connect(rows, &QAbstractItemModel::layoutChanged, this, &StatisticsView::refresh);
        connect(rows, &QAbstractItemModel::dataChanged, this, &StatisticsView::refresh);
        connect(rows, &QAbstractItemModel::rowsInserted, this, &StatisticsView::refresh);
        connect(rows, &QAbstractItemModel::rowsRemoved, this, &StatisticsView::refresh);
    }
    refresh();
}

void StatisticsView::OnUpdate(View *, int)
{
    refresh();
}

QString StatisticsView::areaText() const
{
    return m_areas->toPlainText();
}

namespace {

// A figure as the window shows it: four significant digits, whole numbers kept whole.
QString shortNumber(const QString &full)
{
    bool ok = false;
    const double value = full.toDouble(&ok);
    if (!ok || full.isEmpty())
        return full;
    const double magnitude = std::fabs(value);
    if (magnitude >= 1000.0 || value == std::round(value))
        return QString::number(std::round(value), 'f', 0);
    const int decimals = std::clamp(3 - int(std::floor(std::log10(magnitude))), 0, 12);
    return QString::number(value, 'f', decimals);
}

} // namespace

void StatisticsView::showTab(int index)
{
    m_tabs->setCurrentIndex(index);
}

QByteArray StatisticsView::shownText(char separator) const
{
    return m_tabs->currentWidget() == m_overlap ? m_overlap->tableText(separator)
                                                : tableText(separator);
}

void StatisticsView::refresh()
{
    const CTessavoxDoc *doc = GetDocument();
    if (!doc || !doc->hasTable())
        return;
    const AnalysisChart chart = buildAnalysisChart(*doc, TokenTableModel::F2);
    const AnalysisOptions &options = doc->m_analysis;
    const QString unit = analysisUnit(options.scale, options.normalization);
    const QString x = QStringLiteral("F2");
    const QString y = QStringLiteral("F1");
    const auto in = [&unit](const QString &what) {
        return QStringLiteral("%1 (%2)").arg(what, unit);
    };
    const auto squared = [&unit](const QString &what) {
        return QStringLiteral("%1 (%2²)").arg(what, unit);
    };
    const QStringList columns = {QStringLiteral("group"),
                                 QStringLiteral("n"),
                                 in(QStringLiteral("mean ") + x),
                                 in(QStringLiteral("mean ") + y),
                                 in(QStringLiteral("SD ") + x),
                                 in(QStringLiteral("SD ") + y),
                                 squared(QStringLiteral("cov %1 %2").arg(x, y)),
                                 in(QStringLiteral("semi-major")),
                                 in(QStringLiteral("semi-minor")),
                                 QStringLiteral("angle (deg)"),
                                 squared(QStringLiteral("area")),
                                 QStringLiteral("inside")};
    const QString settings =
        QStringLiteral("# scale: %1; normalisation: %2; ellipse: %3")
            .arg(options.normalization.isEmpty() ? options.scale : QStringLiteral("none"),
                 options.normalization.isEmpty() ? QStringLiteral("none") : options.normalization,
                 options.ellipse);

    // The figures at full precision, with the window's column names.
    const QByteArray tsv = formatStatisticsTable(chart.statistics, chart.groupNames, '\t');
    const QList<QByteArray> rows = tsv.split('\n');
    const auto text = [&](char separator) {
        QByteArray out = settings.toUtf8() + '\n';
        out += columns.join(QLatin1Char(separator)).toUtf8() + '\n';
        const QByteArray body =
            formatStatisticsTable(chart.statistics, chart.groupNames, separator);
        out += body.mid(body.indexOf('\n') + 1);
        if (!chart.vowelSpace.speakers.empty()) {
            out += '\n';
            out += QStringLiteral("speaker%1vowels%1%2\n")
                       .arg(QString(QLatin1Char(separator)), squared(QStringLiteral("hull area")))
                       .toUtf8();
            for (std::size_t s = 0; s < chart.vowelSpace.speakers.size(); ++s) {
                const SpeakerVowelSpace &space = chart.vowelSpace.speakers[s];
                out += tableField(chart.speakerNames.value(qsizetype(s)), separator) + separator +
                       QByteArray::number(space.vowelCount) + separator;
                if (space.hullArea)
                    appendNumber(out, *space.hullArea);
                out += '\n';
            }
        }
        return out;
    };
    m_tsv = text('\t');
    m_csv = text(',');

    m_table->clear();
    m_table->setColumnCount(int(columns.size()));
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setRowCount(std::max(0, int(rows.size()) - 2));
    for (int row = 1; row + 1 < rows.size(); ++row) {
        const QStringList fields = QString::fromUtf8(rows[row]).split(QLatin1Char('\t'));
        for (int column = 0; column < fields.size(); ++column) {
            auto *item =
                new QTableWidgetItem(column < 2 ? fields[column] : shortNumber(fields[column]));
            // The full figure stays at hand where the cell shows it short.
            item->setToolTip(fields[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row - 1, column, item);
        }
    }

    QStringList areas;
    for (std::size_t s = 0; s < chart.vowelSpace.speakers.size(); ++s) {
        const SpeakerVowelSpace &space = chart.vowelSpace.speakers[s];
        // One arg() for all: a speaker's name may itself hold "%2".
        areas << QStringLiteral("%1: %2 vowels, hull area %3")
                     .arg(chart.speakerNames.value(qsizetype(s)), QString::number(space.vowelCount),
                          space.hullArea ? QString::number(*space.hullArea, 'g', 4)
                                         : QStringLiteral("none"));
    }
    QStringList notes = chart.messages + chart.statistics.messages;
    // "²" after "%1" would read as a digit of the escape: it is added after the arg().
    if (!areas.isEmpty())
        notes.prepend(QStringLiteral("Vowel-space area per speaker (F2 x F1, %1").arg(unit) +
                      QStringLiteral("²):\n") + areas.join(QLatin1Char('\n')));
    notes.prepend(settings.mid(2));
    m_areas->setPlainText(notes.join(QLatin1Char('\n')));
    m_overlap->refresh(*doc);
}

void StatisticsView::OnEditCopy()
{
    // Tab-separated: pastes into a spreadsheet one figure a cell.
    QGuiApplication::clipboard()->setText(QString::fromUtf8(shownText('\t')));
}

void StatisticsView::OnFileSaveStatistics()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Statistics");
    request.filterName = QStringLiteral("Tables (*.tsv *.csv)");
    request.patterns = {QStringLiteral("*.tsv"), QStringLiteral("*.csv")};
    request.defaultSuffix = QStringLiteral("tsv");
    const QString path = FileDialogs::ask(request);
    if (path.isEmpty())
        return;
    const QByteArray bytes =
        shownText(path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? ',' : '\t');
    if (const FileError error = WriteFileSafely(path, bytes); error.isError())
        Messages::show(saveFailureReport(error));
}
