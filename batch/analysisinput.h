#pragma once

#include "analysis/frequencyscale.h"
#include "analysis/statisticstable.h"
#include "analysis/tokencolumns.h"
#include "document/tabularreader.h"
#include "document/tabulartable.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <string_view>
#include <vector>

// What the analysis commands (normalize, stats, area) share: their arguments, the table
// they read with the analysis's view of it, and how they write numbers and output.

// FILE, -o OUT, --format, --speaker, --vowel, and the command's own options with values.
struct AnalysisArguments
{
    QString input;
    QString output; // empty: standard output
    std::optional<TabularFileKind> format;
    TabularReadOptions read;
    QHash<QString, QString> options; // e.g. "--method" -> "lobanov"
};

// nullopt on a usage error: an option not in `accepted`, a missing value or FILE.
std::optional<AnalysisArguments> parseAnalysisArguments(const QStringList &args,
                                                        const QStringList &accepted);

// "F1,F2,F3" as formants; nullopt for anything else.
std::optional<std::vector<Formant>> parseFormantList(const QString &text);

// Gives each distinct text an index in order of first appearance.
class TextIndex
{
public:
    int indexOf(std::string_view text);
    const std::vector<std::string_view> &texts() const { return m_texts; }
    QStringList names() const;

private:
    std::vector<std::string_view> m_texts;
    std::vector<int> m_slots; // open addressing into m_texts, -1 = empty
    std::string_view m_last;  // runs of equal texts skip the lookup
    int m_lastIndex = -1;
};

// The opened input: the table (pointing into the mapped file where it can) and the
// tokens' speakers, vowels and formants as the analysis takes them.
class AnalysisInput
{
public:
    AnalysisInput() = default;
    AnalysisInput(const AnalysisInput &) = delete;
    AnalysisInput &operator=(const AnalysisInput &) = delete;

    // Reads the file; on failure writes the message for `command` on standard error, as
    // it does how many rows the exclude column sets aside (tokens().excluded).
    // Only the `formants` are taken into tokens(); empty = all the table has.
    bool open(const AnalysisArguments &arguments, const QString &command,
              const std::vector<Formant> &formants = {});

    TabularTable &table() { return m_table; }
    const TokenColumns &tokens() const { return m_tokens; }

    // Per row, the index of its group made of the named columns' texts joined by "/", in
    // order of first appearance; "vowel" and "speaker" also name the role columns.
    // nullopt with `unknown` set when a name is not a column. Valid while this input is.
    std::optional<std::span<const int>> groupRows(const QStringList &columns, QStringList &names,
                                                  QString &unknown);

private:
    int columnByName(const QString &name) const;
    void indexTokens(const QString &path, const std::vector<Formant> &formants);

    QFile m_file; // mapped while the table points into it
    TabularTable m_table;
    TokenColumns m_tokens; // its formants are views into the table
    std::vector<int> m_groups;
};

// Writes `bytes` to standard output, or safely to `path` (a temporary file renamed into
// place). False with the message on standard error.
bool writeAnalysisOutput(const QString &path, const QByteArray &bytes, const QString &command);

// "tessavox-batch COMMAND: TEXT" on standard error.
void reportAnalysis(const QString &command, const QString &text);
