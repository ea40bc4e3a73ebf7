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
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

StatisticsView::StatisticsView(QWidget *parent) : View(parent)
{
    m_table = new QTableWidget(this);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_areas = new QLabel(this);
    m_areas->setTextInteractionFlags(Qt::TextSelectableByMouse);
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
    groupLayout->addWidget(m_table);
    groupLayout->addWidget(m_areas);
    m_overlap = new OverlapPanel(this);
    connect(m_overlap, &OverlapPanel::pairsChanged, this, &StatisticsView::refresh);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(groups, QStringLiteral("&Groups"));
    m_tabs->addTab(m_overlap, QStringLiteral("&Overlap"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
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
    return m_areas->text();
}

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
    m_tsv = formatStatisticsTable(chart.statistics, chart.groupNames, '\t');
    m_csv = formatStatisticsTable(chart.statistics, chart.groupNames, ',');

    const QStringList lines = QString::fromUtf8(m_tsv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    m_table->clear();
    m_table->setColumnCount(int(statisticsColumns().size()));
    m_table->setHorizontalHeaderLabels(statisticsColumns());
    m_table->setRowCount(int(lines.size()) - 1);
    for (int row = 1; row < lines.size(); ++row) {
        const QStringList fields = lines[row].split(QLatin1Char('\t'));
        for (int column = 0; column < fields.size(); ++column)
            m_table->setItem(row - 1, column, new QTableWidgetItem(fields[column]));
    }

    QStringList areas;
    for (std::size_t s = 0; s < chart.vowelSpace.speakers.size(); ++s) {
        const SpeakerVowelSpace &space = chart.vowelSpace.speakers[s];
        QByteArray area;
        if (space.hullArea)
            appendNumber(area, *space.hullArea);
        areas << QStringLiteral("%1: %2 vowels, hull area %3")
                     .arg(chart.speakerNames.value(qsizetype(s)))
                     .arg(space.vowelCount)
                     .arg(area.isEmpty() ? QStringLiteral("none") : QString::fromUtf8(area));
    }
    QStringList notes = chart.messages + chart.statistics.messages;
    if (!areas.isEmpty())
        notes.prepend(QStringLiteral("Vowel-space area per speaker (F2 x F1):\n") +
                      areas.join(QLatin1Char('\n')));
    m_areas->setText(notes.join(QLatin1Char('\n')));
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
