#pragma once

#include "document/tokentablemodel.h"

#include <QString>

#include <cstddef>
#include <deque>
#include <optional>
#include <variant>
#include <vector>

// What Edit > Undo takes back and Edit > Redo does again: the steps made to a document's
// token rows and label choices, and where the document was last saved. Holds a copy of
// the rows as the last step left them; a step keeps only the rows it changed, found by
// comparing that copy with the rows, so recording a typed cell copies one row.
class EditHistory
{
public:
    using Row = TokenTableModel::Row;

    // The label chosen for a vowel group in the Label Selector.
    struct LabelChoice
    {
        int order = 0;
        int position = -1; // -1: none chosen
        QString text;
    };

    // Steps beyond these go, the oldest first: the rows a step holds may be a whole table.
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxHeldRows = 1'000'000;

    // Starts afresh from `rows`: nothing to undo or redo, and nothing unsaved.
    void reset(const TokenTableModel &rows);
    bool isStarted() const { return m_started; }

    // Takes whatever changed in `rows` since the last step as one step; records nothing
    // when nothing changed. `changesFile` says whether the step changes what File Save
    // writes; numbering and sorting the rows do not. Returns whether a step was recorded.
    bool recordRows(const TokenTableModel &rows, bool changesFile = true);
    // A label choice, which never changes the file.
    void recordLabelChoice(const LabelChoice &before, const LabelChoice &after);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // Take back, or make again, one step in `rows`. A label choice is returned for the
    // caller to make instead.
    std::optional<LabelChoice> undo(TokenTableModel &rows);
    std::optional<LabelChoice> redo(TokenTableModel &rows);

    // The rows as they stand are those in the document's file, or are not.
    void markSaved() { m_saved = m_done; }
    void markUnsaved() { m_saved.reset(); }
    // Whether a step that changes the file lies between the saved state and this one.
    bool isModified() const;

    // After the rows were written as a table file, their source rows number the new
    // file's rows: `newIndex[s]` is what was source row s (-1 for a row not written).
    // `rows` must be the rows as recorded. False when a step holds a row of the old file
    // that the new one lacks: its other cells are gone from the document then.
    bool renumberSourceRows(const std::vector<int> &newIndex, const TokenTableModel &rows);

private:
    // Rows first.. of `before` became `after`.
    struct RowChange
    {
        int first = 0;
        std::vector<Row> before;
        std::vector<Row> after;
    };
    struct LabelChange
    {
        LabelChoice before;
        LabelChoice after;
    };
    struct Step
    {
        bool changesFile = true;
        std::variant<RowChange, LabelChange> change;
    };

    void push(Step step);
    std::size_t heldRows() const;
    // Puts `rows` in place of `count` rows from `first`, in the copy and in `model`.
    void replace(TokenTableModel &model, int first, std::size_t count,
                 const std::vector<Row> &rows);

    bool m_started = false;
    std::vector<Row> m_rows;                // the rows as the steps done so far leave them
    std::deque<Step> m_steps;               // oldest first
    std::size_t m_done = 0;                 // steps done; the rest wait for Redo
    std::optional<std::size_t> m_saved = 0; // steps done when saved; none when out of reach
};
