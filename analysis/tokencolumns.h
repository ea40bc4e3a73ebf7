#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The formants a token can carry, as indices into TokenColumns::formants.
enum class Formant { F0 = 0, F1, F2, F3, F4, F5 };
inline constexpr int kFormantCount = 6;

// "F0" ... "F5".
QString formantName(Formant formant);

// "F1,F2,F3" as formants (F0 to F5, any case, blanks around the names ignored); nullopt
// for anything else. The one reading of --formants, for the charts and every command.
std::optional<std::vector<Formant>> parseFormantList(const QString &text);

// The values the analysis works on, in column form: for each token the speaker and the
// vowel (or any other grouping) it belongs to, and its F0..F5 in hertz, NaN where the
// value is missing. Plain arrays, so the analysis knows nothing of file formats; the
// caller owns the names and keeps every index within them.
struct TokenColumns
{
    std::vector<int> speaker; // one per token: an index into speakerNames
    std::vector<int> vowel;   // one per token: an index into vowelNames
    // Indexed by Formant; an empty column means the input has no such formant.
    std::array<std::vector<double>, kFormantCount> formants;
    // Values held elsewhere, e.g. by the table a file was read into, which must outlive
    // these columns: a non-empty view stands for its formant instead of `formants`, so
    // a corpus's values need not be copied.
    std::array<std::span<const double>, kFormantCount> views;
    QStringList speakerNames;
    QStringList vowelNames;
    // Per token, whether the user set it aside (a table's exclude column); empty when none
    // is. Excluded tokens stay in what is written back, but no figure counts them.
    std::vector<bool> excluded;

    std::size_t size() const { return speaker.size(); }
    const std::vector<double> &column(Formant formant) const
    {
        return formants[std::size_t(formant)];
    }
    std::vector<double> &column(Formant formant) { return formants[std::size_t(formant)]; }
    // The formant's values: its view when set, else its column.
    std::span<const double> values(Formant formant) const
    {
        const std::span<const double> view = views[std::size_t(formant)];
        return view.empty() ? std::span<const double>(column(formant)) : view;
    }
    bool hasFormant(Formant formant) const
    {
        return !values(formant).empty() && values(formant).size() == size();
    }

    bool isExcluded(std::size_t i) const { return i < excluded.size() && excluded[i]; }
    std::size_t excludedCount() const;
    // `index` (a speaker or group per token) with -1, "leave out", for each excluded token.
    std::vector<int> withoutExcluded(std::span<const int> index) const;

    // Empty when the columns fit together (equal lengths, every index within its names);
    // otherwise what is wrong. The analysis functions expect valid columns.
    QString validate() const;
};
