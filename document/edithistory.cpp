#include "document/edithistory.h"

#include <algorithm>

namespace {

// Whether two rows hold the same token; whether a row is marked is no part of it.
bool sameToken(const TokenTableModel::Row &a, const TokenTableModel::Row &b)
{
    return a.numbers == b.numbers && a.emptyNumbers == b.emptyNumbers &&
           a.higherFormants == b.higherFormants && a.sourceRow == b.sourceRow &&
           a.symbolBytes == b.symbolBytes && a.symbol == b.symbol && a.speaker == b.speaker &&
           a.excluded == b.excluded;
}

} // namespace

void EditHistory::reset(const TokenTableModel &rows)
{
    m_rows.clear();
    m_rows.reserve(std::size_t(rows.count()));
    for (int i = 0; i < rows.count(); ++i)
        m_rows.push_back(rows.row(i));
    m_steps.clear();
    m_done = 0;
    m_saved = 0;
    m_started = true;
}

bool EditHistory::recordRows(const TokenTableModel &rows, bool changesFile)
{
    if (!m_started)
        return false;
    const std::size_t was = m_rows.size();
    const auto now = std::size_t(rows.count());
    const std::size_t shorter = std::min(was, now);
    std::size_t head = 0;
    while (head < shorter && sameToken(m_rows[head], rows.row(int(head))))
        ++head;
    if (head == was && was == now)
        return false;
    std::size_t tail = 0;
    while (tail < shorter - head &&
           sameToken(m_rows[was - 1 - tail], rows.row(int(now - 1 - tail))))
        ++tail;

    RowChange change;
    change.first = int(head);
    change.before.assign(m_rows.begin() + std::ptrdiff_t(head),
                         m_rows.begin() + std::ptrdiff_t(was - tail));
    change.after.reserve(now - tail - head);
    for (std::size_t i = head; i < now - tail; ++i)
        change.after.push_back(rows.row(int(i)));
    m_rows.erase(m_rows.begin() + std::ptrdiff_t(head),
                 m_rows.begin() + std::ptrdiff_t(was - tail));
    m_rows.insert(m_rows.begin() + std::ptrdiff_t(head), change.after.begin(), change.after.end());
    push(Step{changesFile, std::move(change)});
    return true;
}

void EditHistory::recordLabelChoice(const LabelChoice &before, const LabelChoice &after)
{
    if (m_started)
        push(Step{false, LabelChange{before, after}});
}

void EditHistory::push(Step step)
{
    // A new step ends the way forward; a save among the steps dropped is out of reach.
    if (m_saved && *m_saved > m_done)
        m_saved.reset();
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
    while (m_steps.size() > 1 && (m_steps.size() > kMaxSteps || heldRows() > kMaxHeldRows)) {
        m_steps.pop_front();
        --m_done;
        if (m_saved && *m_saved == 0)
            m_saved.reset();
        else if (m_saved)
            --*m_saved;
    }
}

std::size_t EditHistory::heldRows() const
{
    std::size_t held = 0;
    for (const Step &step : m_steps) {
        if (const auto *change = std::get_if<RowChange>(&step.change))
            held += change->before.size() + change->after.size();
    }
    return held;
}

void EditHistory::replace(TokenTableModel &model, int first, std::size_t count,
                          const std::vector<Row> &rows)
{
    const auto begin = m_rows.begin() + first;
    m_rows.erase(begin, begin + std::ptrdiff_t(count));
    m_rows.insert(m_rows.begin() + first, rows.begin(), rows.end());
    model.replaceRows(first, int(count), rows);
}

std::optional<EditHistory::LabelChoice> EditHistory::undo(TokenTableModel &rows)
{
    if (!canUndo())
        return std::nullopt;
    const Step &step = m_steps[--m_done];
    if (const auto *label = std::get_if<LabelChange>(&step.change))
        return label->before;
    const auto &change = std::get<RowChange>(step.change);
    replace(rows, change.first, change.after.size(), change.before);
    return std::nullopt;
}

std::optional<EditHistory::LabelChoice> EditHistory::redo(TokenTableModel &rows)
{
    if (!canRedo())
        return std::nullopt;
    const Step &step = m_steps[m_done++];
    if (const auto *label = std::get_if<LabelChange>(&step.change))
        return label->after;
    const auto &change = std::get<RowChange>(step.change);
    replace(rows, change.first, change.before.size(), change.after);
    return std::nullopt;
}

bool EditHistory::isModified() const
{
    if (!m_saved)
        return true;
    const std::size_t from = std::min(*m_saved, m_done);
    const std::size_t to = std::max(*m_saved, m_done);
    return std::any_of(m_steps.begin() + std::ptrdiff_t(from), m_steps.begin() + std::ptrdiff_t(to),
                       [](const Step &step) { return step.changesFile; });
}

bool EditHistory::renumberSourceRows(const std::vector<int> &newIndex, const TokenTableModel &rows)
{
    bool whole = true;
    const auto renumber = [&newIndex, &whole](std::vector<Row> &held) {
        for (Row &row : held) {
            if (row.sourceRow < 0)
                continue;
            row.sourceRow = std::size_t(row.sourceRow) < newIndex.size()
                                ? newIndex[std::size_t(row.sourceRow)]
                                : -1;
            whole = whole && row.sourceRow >= 0;
        }
    };
    for (Step &step : m_steps) {
        if (auto *change = std::get_if<RowChange>(&step.change)) {
            renumber(change->before);
            renumber(change->after);
        }
    }
    // The rows written take their new numbers from the rows themselves, those added since
    // the file was read among them.
    for (std::size_t i = 0; i < m_rows.size() && i < std::size_t(rows.count()); ++i)
        m_rows[i].sourceRow = rows.row(int(i)).sourceRow;
    return whole;
}
