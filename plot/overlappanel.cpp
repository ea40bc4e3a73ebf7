#include "plot/overlappanel.h"

#include "analysis/documentanalysis.h"
#include "analysis/voweloverlap.h"
#include "document/tessavoxdoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kFirstFigure = 5; // pillai; the columns before it name the pair

} // namespace

OverlapPanel::OverlapPanel(QWidget *parent) : QWidget(parent)
{
    m_allPairs = new QCheckBox(QStringLiteral("&All pairs"), this);
    m_allPairs->setObjectName(QStringLiteral("IDC_ALL_PAIRS"));
    m_allPairs->setChecked(true);
    m_first = new QComboBox(this);
    m_first->setObjectName(QStringLiteral("IDC_VOWEL1"));
    m_second = new QComboBox(this);
    m_second->setObjectName(QStringLiteral("IDC_VOWEL2"));
    auto *add = new QPushButton(QStringLiteral("A&dd Pair"), this);
    m_chosen = new QLabel(this);
    m_chosen->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_table = new QTableWidget(this);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    // A note per pair and speaker that has no figure: with many speakers they are many, so
    // they scroll in a few lines and the table keeps the window.
    m_notes = new QPlainTextEdit(this);
    m_notes->setReadOnly(true);
    m_notes->setMaximumHeight(m_notes->fontMetrics().lineSpacing() * 6);

    connect(add, &QPushButton::clicked, this, &OverlapPanel::addChosenPair);
    connect(m_allPairs, &QCheckBox::toggled, this, [this](bool all) {
        if (all)
            setPairs({});
        else if (m_pairs.isEmpty())
            addChosenPair();
    });

    auto *picker = new QHBoxLayout;
    picker->addWidget(m_allPairs);
    picker->addWidget(m_first);
    picker->addWidget(new QLabel(QStringLiteral(":"), this));
    picker->addWidget(m_second);
    picker->addWidget(add);
    picker->addWidget(m_chosen, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(picker);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_notes);
}

void OverlapPanel::setPairs(const QList<Pair> &pairs)
{
    m_pairs = pairs;
    showPairs();
    emit pairsChanged();
}

void OverlapPanel::addChosenPair()
{
    const Pair pair(m_first->currentText(), m_second->currentText());
    if (m_first->currentIndex() < 0 || m_second->currentIndex() < 0 || m_pairs.contains(pair))
        return;
    m_pairs.append(pair);
    showPairs();
    emit pairsChanged();
}

void OverlapPanel::showPairs()
{
    const QSignalBlocker quiet(m_allPairs);
    m_allPairs->setChecked(m_pairs.isEmpty());
    QStringList names;
    for (const auto &[a, b] : m_pairs)
        names << a + QLatin1Char(':') + b;
    m_chosen->setText(names.join(QStringLiteral(", ")));
}

QString OverlapPanel::notes() const
{
    return m_notes->toPlainText();
}

void OverlapPanel::refresh(const CTessavoxDoc &doc)
{
    const TokenColumns tokens = documentTokenColumns(doc, DocumentVowels::BySymbol);
    for (QComboBox *list : {m_first, m_second}) {
        const QString chosen = list->currentText();
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(tokens.vowelNames);
        list->setCurrentIndex(std::max(0, int(tokens.vowelNames.indexOf(chosen))));
    }
    if (m_second->currentIndex() == m_first->currentIndex() && m_second->count() > 1)
        m_second->setCurrentIndex(m_first->currentIndex() == 0 ? 1 : 0);

    QStringList notes;
    std::vector<VowelPair> pairs;
    for (const auto &[a, b] : m_pairs) {
        const auto first = tokens.vowelNames.indexOf(a);
        const auto second = tokens.vowelNames.indexOf(b);
        if (first < 0 || second < 0)
            notes << QStringLiteral("%1:%2: no such vowel in the table").arg(a, b);
        else
            pairs.push_back({int(first), int(second)});
    }
    // A Formant file is one speaker, named after the document.
    QStringList groupNames = tokens.speakerNames;
    if (!doc.tokens().speakerShown())
        groupNames = QStringList{doc.title()};
    const FormantSpace space = documentFormantSpace(doc, tokens, documentFormants(doc));
    OverlapResult result;
    if (space.valid() && (m_pairs.isEmpty() || !pairs.empty()))
        result = vowelOverlap(tokens.withoutExcluded(tokens.speaker), groupNames, tokens.vowel,
                              tokens.vowelNames, space.columns(), pairs);
    else if (!space.valid())
        notes << space.error;
    notes = space.messages + notes + result.messages;
    if (result.skipped > 0)
        notes << QStringLiteral("%1 token(s) skipped: a formant missing").arg(result.skipped);
    m_tsv = formatOverlapTable(result, groupNames, tokens.vowelNames, '\t');
    m_csv = formatOverlapTable(result, groupNames, tokens.vowelNames, ',');

    const QStringList columns = overlapColumns();
    const QStringList lines = QString::fromUtf8(m_tsv).split(u'\n', Qt::SkipEmptyParts);
    m_table->clear();
    m_table->setColumnCount(int(columns.size()));
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setRowCount(int(lines.size()) - 1);
    for (int row = 1; row < lines.size(); ++row) {
        const QStringList fields = lines[row].split(u'\t');
        for (int column = 0; column < fields.size(); ++column) {
            // Six digits read at a glance; Copy and Save, and the tip, keep them all.
            bool number = false;
            const double value = fields[column].toDouble(&number);
            auto *item = new QTableWidgetItem(
                number && column >= kFirstFigure ? QString::number(value, 'g', 6) : fields[column]);
            item->setToolTip(fields[column]);
            m_table->setItem(row - 1, column, item);
        }
    }
    QStringList formants;
    for (Formant f : space.formants)
        formants << formantName(f);
    notes.prepend(QStringLiteral("Per speaker, on %1.").arg(formants.join(QLatin1Char(','))));
    m_notes->setPlainText(notes.join(QLatin1Char('\n')));
}
