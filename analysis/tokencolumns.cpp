#include "analysis/tokencolumns.h"

#include <algorithm>

QString formantName(Formant formant)
{
    return QStringLiteral("F%1").arg(int(formant));
}

QString TokenColumns::validate() const
{
    if (vowel.size() != speaker.size())
        return QStringLiteral("%1 speaker entries but %2 vowel entries")
            .arg(speaker.size())
            .arg(vowel.size());
    for (int f = 0; f < kFormantCount; ++f) {
        const std::size_t count = values(Formant(f)).size();
        if (count != 0 && count != size())
            return QStringLiteral("%1 has %2 values for %3 tokens")
                .arg(formantName(Formant(f)))
                .arg(count)
                .arg(size());
    }
    const auto speakers = speakerNames.size();
    const auto vowels = vowelNames.size();
    for (std::size_t i = 0; i < size(); ++i) {
        if (speaker[i] < 0 || speaker[i] >= speakers)
            return QStringLiteral("token %1 has speaker index %2 of %3")
                .arg(i + 1)
                .arg(speaker[i])
                .arg(speakers);
        if (vowel[i] < 0 || vowel[i] >= vowels)
            return QStringLiteral("token %1 has vowel index %2 of %3")
                .arg(i + 1)
                .arg(vowel[i])
                .arg(vowels);
    }
    return {};
}

std::size_t TokenColumns::excludedCount() const
{
    return std::size_t(std::count(excluded.begin(), excluded.end(), true));
}

std::vector<int> TokenColumns::withoutExcluded(std::span<const int> index) const
{
    std::vector<int> kept(index.begin(), index.end());
    for (std::size_t i = 0; i < kept.size() && i < excluded.size(); ++i) {
        if (excluded[i])
            kept[i] = -1;
    }
    return kept;
}

std::optional<std::vector<Formant>> parseFormantList(const QString &text)
{
    std::vector<Formant> formants;
    for (const QString &name : text.split(QLatin1Char(','))) {
        const QString trimmed = name.trimmed();
        if (trimmed.size() != 2 || trimmed[0].toUpper() != QLatin1Char('F') ||
            trimmed[1] < QLatin1Char('0') || trimmed[1] > QLatin1Char('5'))
            return std::nullopt;
        formants.push_back(Formant(trimmed[1].unicode() - '0'));
    }
    return formants;
}
