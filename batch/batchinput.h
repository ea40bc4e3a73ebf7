#pragma once

#include "analysis/tokencolumns.h"
#include "document/tokenfile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class CTessavoxDoc;
class TabularTable;

// The file a batch command works on, opened by the document as File Open opens it (the
// one loader): the document, whose rows fill, sort and number themselves as a table window
// leaves them, and the tokens as the file gave them, in the analysis's column form. Owns
// the document.
class BatchInput
{
public:
    // Opens `path`. The loader's warnings go to standard error as
    // "tessavox-batch COMMAND: FILE: warning"; on failure the reason goes there too and
    // the result is null.
    static std::unique_ptr<BatchInput> open(const QString &command, const QString &path,
                                            const TokenFileOptions &options);
    // open(), refusing a file without tokens, which no analysis can use.
    static std::unique_ptr<BatchInput> openTokens(const QString &command, const QString &path,
                                                  const TokenFileOptions &options);
    ~BatchInput();
    BatchInput(const BatchInput &) = delete;
    BatchInput &operator=(const BatchInput &) = delete;

    // The document with its rows filled (on the first call), as a table window shows them.
    CTessavoxDoc &doc();
    // The tokens as the file gave them, a Formant file's as a table.
    const TabularTable &table() const;
    // A copy of the table, for commands that add columns to it.
    TabularTable tableCopy() const;

    // The tokens as the analysis takes them: speakers and vowels indexed in order of first
    // appearance (by their text, decoded as UTF-8 or else Windows-1252), and the
    // `formants` (all the table has when empty) as views into the table. Without a speaker
    // column the file is one speaker named after the file.
    TokenColumns tokenColumns(const std::vector<Formant> &formants = {}) const;

    // Per row, the index of its group made of the named columns' texts joined by "/", in
    // order of first appearance; "vowel" and "speaker" also name the role columns.
    // nullopt with `unknown` set when a name is not a column.
    std::optional<std::vector<int>> groupRows(const QStringList &columns, QStringList &names,
                                              QString &unknown) const;

    // Stores a label choice as the Label Selector would: the position of the first row of
    // that order, in table order, whose symbol is `text`. False when no row has it.
    bool chooseLabel(int order, const QString &text);

private:
    BatchInput();

    std::unique_ptr<CTessavoxDoc> m_doc;
    QObject m_tableWindow; // stands for the table window that shows the rows
    bool m_filled = false;
};

// Gives each distinct text an index in order of first appearance; texts are told apart
// by their bytes.
class TextIndex
{
public:
    int indexOf(std::string_view text);
    const std::vector<std::string_view> &texts() const { return m_texts; }
    // The texts decoded as UTF-8, or else Windows-1252.
    QStringList names() const;

private:
    std::vector<std::string_view> m_texts;
    std::vector<int> m_slots; // open addressing into m_texts, -1 = empty
    std::string_view m_last;  // runs of equal texts skip the lookup
    int m_lastIndex = -1;
};
