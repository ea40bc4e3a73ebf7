#include "analysis/normalization.h"

#include "analysis/largepages.h"
#include "analysis/namedchoice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <new>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr std::array<NormalizationMethodInfo, 9> kMethods{{
    {NormalizationMethod::Lobanov, "lobanov", "Lobanov z",
     "(F - mean) / sd over the speaker's tokens", "Lobanov 1971", false, false, false},
    {NormalizationMethod::LobanovBalanced, "lobanov-balanced", "Lobanov z, balanced",
     "(F - mean) / sd over the speaker's vowel means", "Lobanov 1971", true, false, false},
    {NormalizationMethod::Nearey1, "nearey1", "Nearey 1, log",
     "ln F - mean(ln F) per formant over the speaker's tokens", "Nearey 1978", false, true, false},
    {NormalizationMethod::Nearey1Balanced, "nearey1-balanced", "Nearey 1, log, balanced",
     "ln F - mean over the speaker's vowels of the vowel's mean ln F", "Nearey 1978", true, true,
     false},
    {NormalizationMethod::Nearey2, "nearey2", "Nearey 2, log",
     "ln F - G, G = mean ln F over the speaker's tokens and the formants in use", "Nearey 1978",
     false, true, false},
    {NormalizationMethod::Nearey2Balanced, "nearey2-balanced", "Nearey 2, log, balanced",
     "ln F - G, G = mean over the formants in use of the balanced mean ln F", "Nearey 1978", true,
     true, false},
    {NormalizationMethod::WattFabricius, "watt-fabricius", "Watt & Fabricius",
     "F / S, S = mean of the corners i, a and u' = (i_F1, i_F1) of the vowel means",
     "Watt & Fabricius 2002", true, false, true},
    {NormalizationMethod::WattFabriciusModified, "watt-fabricius-modified",
     "Watt & Fabricius, modified", "F / S as watt-fabricius, but S2 = (i_F2 + i_F1) / 2",
     "Fabricius, Watt & Johnson 2009", true, false, true},
    {NormalizationMethod::Gerstman, "gerstman", "Gerstman",
     "999 (F - min) / (max - min), min and max over the speaker's vowel means", "Gerstman 1968",
     true, false, false},
}};

// One (speaker, vowel) pair that has tokens: the unit whose means the balanced methods,
// Watt & Fabricius and Gerstman work on.
struct Cells
{
    std::vector<int> ofToken;
    std::vector<int> speaker;
    std::vector<int> vowel;
};

Cells makeCells(const TokenColumns &tokens)
{
    Cells cells;
    cells.ofToken.resize(tokens.size());
    const auto vowels = std::int64_t(std::max<qsizetype>(tokens.vowelNames.size(), 1));
    const auto dense = std::int64_t(tokens.speakerNames.size()) * vowels;
    // A table of every pair when that is small; a hash of the pairs seen otherwise.
    std::vector<int> table;
    std::unordered_map<std::int64_t, int> hash;
    if (dense <= (std::int64_t(1) << 22))
        table.assign(std::size_t(dense), -1);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::int64_t key = tokens.speaker[i] * vowels + tokens.vowel[i];
        int *slot = nullptr;
        if (!table.empty())
            slot = &table[std::size_t(key)];
        else
            slot = &hash.try_emplace(key, -1).first->second;
        if (*slot < 0) {
            *slot = int(cells.speaker.size());
            cells.speaker.push_back(tokens.speaker[i]);
            cells.vowel.push_back(tokens.vowel[i]);
        }
        cells.ofToken[i] = *slot;
    }
    return cells;
}

// Mean of `column` (through `transform`) per cell, NaN for a cell without values.
template <typename Transform>
std::vector<double> cellMeans(const Cells &cells, std::span<const double> column,
                              Transform transform)
{
    std::vector<double> sum(cells.speaker.size(), 0.0);
    std::vector<int> count(cells.speaker.size(), 0);
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (std::isnan(column[i]))
            continue;
        sum[std::size_t(cells.ofToken[i])] += transform(column[i]);
        ++count[std::size_t(cells.ofToken[i])];
    }
    for (std::size_t c = 0; c < sum.size(); ++c)
        sum[c] = count[c] > 0 ? sum[c] / count[c] : kNaN;
    return sum;
}

// Mean and sample SD of values grouped by speaker, two passes so that values far from 0
// keep their precision.
struct SpeakerMoments
{
    std::vector<double> mean;
    std::vector<double> sd; // NaN for fewer than 2 values
    std::vector<int> count;
};

template <typename Source>
SpeakerMoments speakerMoments(std::size_t speakers, std::size_t n, Source source)
{
    SpeakerMoments m{std::vector<double>(speakers, 0.0), std::vector<double>(speakers, 0.0),
                     std::vector<int>(speakers, 0)};
    for (std::size_t i = 0; i < n; ++i) {
        const auto [s, v] = source(i);
        if (std::isnan(v))
            continue;
        m.mean[std::size_t(s)] += v;
        ++m.count[std::size_t(s)];
    }
    for (std::size_t s = 0; s < speakers; ++s)
        m.mean[s] = m.count[s] > 0 ? m.mean[s] / m.count[s] : kNaN;
    for (std::size_t i = 0; i < n; ++i) {
        const auto [s, v] = source(i);
        if (std::isnan(v))
            continue;
        const double d = v - m.mean[std::size_t(s)];
        m.sd[std::size_t(s)] += d * d;
    }
    for (std::size_t s = 0; s < speakers; ++s)
        m.sd[s] = m.count[s] > 1 ? std::sqrt(m.sd[s] / (m.count[s] - 1)) : kNaN;
    return m;
}

// Per speaker and formant: out = mul (g(F) - offset) / divisor, g = ln for log methods.
struct SpeakerParameters
{
    std::vector<double> offset, mul, divisor;
};

class Normalizer
{
public:
    Normalizer(const TokenColumns &tokens, NormalizationMethod method,
               const std::vector<Formant> &formants, NormalizationResult &result)
        : m_tokens(tokens), m_info(normalizationMethodInfo(method)), m_formants(formants),
          m_result(result), m_speakers(std::size_t(tokens.speakerNames.size())),
          m_reasons(m_speakers)
    {
        if (m_info.usesVowelMeans)
            m_cells = makeCells(tokens);
    }

    void run()
    {
        std::array<SpeakerParameters, kFormantCount> parameters;
        for (Formant f : m_formants)
            parameters[std::size_t(f)] = {std::vector<double>(m_speakers, 0.0),
                                          std::vector<double>(m_speakers, 1.0),
                                          std::vector<double>(m_speakers, 1.0)};
        if (m_info.logarithmic)
            refuseNonPositive();
        switch (m_info.method) {
        case NormalizationMethod::Lobanov:
        case NormalizationMethod::LobanovBalanced:
            lobanov(parameters);
            break;
        case NormalizationMethod::Nearey1:
        case NormalizationMethod::Nearey1Balanced:
        case NormalizationMethod::Nearey2:
        case NormalizationMethod::Nearey2Balanced:
            nearey(parameters);
            break;
        case NormalizationMethod::WattFabricius:
        case NormalizationMethod::WattFabriciusModified:
            wattFabricius(parameters);
            break;
        case NormalizationMethod::Gerstman:
            gerstman(parameters);
            break;
        }
        apply(parameters);
    }

private:
    void refuse(std::size_t speaker, const QString &reason)
    {
        if (m_reasons[speaker].isEmpty())
            m_reasons[speaker] = reason;
    }

    void refuseNonPositive()
    {
        for (Formant f : m_formants) {
            const std::span<const double> column = m_tokens.values(f);
            for (std::size_t i = 0; i < column.size(); ++i) {
                if (column[i] <= 0.0)
                    refuse(std::size_t(m_tokens.speaker[i]),
                           QStringLiteral("%1 has a value of 0 Hz or less, which has no "
                                          "logarithm")
                               .arg(formantName(f)));
            }
        }
    }

    // Refuses speakers with fewer than two vowel means for `f`.
    void requireTwoVowels(Formant f, const std::vector<double> &means)
    {
        std::vector<int> vowels(m_speakers, 0);
        for (std::size_t c = 0; c < means.size(); ++c) {
            if (!std::isnan(means[c]))
                ++vowels[std::size_t(m_cells.speaker[c])];
        }
        for (std::size_t s = 0; s < m_speakers; ++s) {
            if (vowels[s] < 2)
                refuse(s, QStringLiteral("%1 has %2 vowel(s); the method needs vowel means "
                                         "of at least two vowels")
                              .arg(formantName(f))
                              .arg(vowels[s]));
        }
    }

    // Moments over the speaker's tokens, or over its vowel means when balanced.
    template <typename Transform>
    SpeakerMoments moments(Formant f, bool balanced, Transform transform)
    {
        const std::span<const double> column = m_tokens.values(f);
        if (!balanced) {
            return speakerMoments(m_speakers, column.size(), [&](std::size_t i) {
                return std::pair{m_tokens.speaker[i], transform(column[i])};
            });
        }
        const std::vector<double> means = cellMeans(m_cells, column, transform);
        requireTwoVowels(f, means);
        return speakerMoments(m_speakers, means.size(), [&](std::size_t c) {
            return std::pair{m_cells.speaker[c], means[c]};
        });
    }

    bool balanced() const
    {
        return m_info.method == NormalizationMethod::LobanovBalanced ||
               m_info.method == NormalizationMethod::Nearey1Balanced ||
               m_info.method == NormalizationMethod::Nearey2Balanced;
    }

    void lobanov(std::array<SpeakerParameters, kFormantCount> &parameters)
    {
        for (Formant f : m_formants) {
            const SpeakerMoments m = moments(f, balanced(), [](double v) { return v; });
            SpeakerParameters &p = parameters[std::size_t(f)];
            for (std::size_t s = 0; s < m_speakers; ++s) {
                if (m.count[s] < 2)
                    refuse(s, QStringLiteral("%1 has %2 value(s); a standard deviation needs "
                                             "two")
                                  .arg(formantName(f))
                                  .arg(m.count[s]));
                else if (!(m.sd[s] > 0.0))
                    refuse(s,
                           QStringLiteral("%1 has a standard deviation of 0").arg(formantName(f)));
                p.offset[s] = m.mean[s];
                p.divisor[s] = m.sd[s];
            }
        }
    }

    void nearey(std::array<SpeakerParameters, kFormantCount> &parameters)
    {
        const auto ln = [](double v) { return std::log(v); };
        std::array<SpeakerMoments, kFormantCount> logMeans;
        for (Formant f : m_formants) {
            logMeans[std::size_t(f)] = moments(f, balanced(), ln);
            for (std::size_t s = 0; s < m_speakers; ++s) {
                if (logMeans[std::size_t(f)].count[s] < 1)
                    refuse(s, QStringLiteral("%1 has no values").arg(formantName(f)));
            }
        }
        const bool shared = m_info.method == NormalizationMethod::Nearey2 ||
                            m_info.method == NormalizationMethod::Nearey2Balanced;
        std::vector<double> grand(m_speakers, 0.0);
        if (m_info.method == NormalizationMethod::Nearey2) {
            // Every present value of every formant in use weighs the same.
            std::vector<double> count(m_speakers, 0.0);
            for (Formant f : m_formants) {
                const SpeakerMoments &m = logMeans[std::size_t(f)];
                for (std::size_t s = 0; s < m_speakers; ++s) {
                    if (m.count[s] > 0) {
                        grand[s] += m.mean[s] * m.count[s];
                        count[s] += m.count[s];
                    }
                }
            }
            for (std::size_t s = 0; s < m_speakers; ++s)
                grand[s] = count[s] > 0 ? grand[s] / count[s] : kNaN;
        } else if (m_info.method == NormalizationMethod::Nearey2Balanced) {
            for (Formant f : m_formants) {
                for (std::size_t s = 0; s < m_speakers; ++s)
                    grand[s] += logMeans[std::size_t(f)].mean[s];
            }
            for (double &g : grand)
                g /= double(m_formants.size());
        }
        for (Formant f : m_formants) {
            SpeakerParameters &p = parameters[std::size_t(f)];
            p.offset = shared ? grand : logMeans[std::size_t(f)].mean;
        }
    }

    void wattFabricius(std::array<SpeakerParameters, kFormantCount> &parameters)
    {
        const auto same = [](double v) { return v; };
        const std::vector<double> f1 = cellMeans(m_cells, m_tokens.values(Formant::F1), same);
        const std::vector<double> f2 = cellMeans(m_cells, m_tokens.values(Formant::F2), same);
        requireTwoVowels(Formant::F1, f1);
        requireTwoVowels(Formant::F2, f2);
        constexpr double inf = std::numeric_limits<double>::infinity();
        std::vector<double> iF1(m_speakers, inf), iF2(m_speakers, -inf), aF1(m_speakers, -inf);
        for (std::size_t c = 0; c < f1.size(); ++c) {
            const auto s = std::size_t(m_cells.speaker[c]);
            if (!std::isnan(f1[c])) {
                iF1[s] = std::min(iF1[s], f1[c]);
                aF1[s] = std::max(aF1[s], f1[c]);
            }
            if (!std::isnan(f2[c]))
                iF2[s] = std::max(iF2[s], f2[c]);
        }
        // Vowels tied for the highest F1 share the corner: their F2 means are averaged.
        std::vector<double> aF2(m_speakers, 0.0);
        std::vector<int> tied(m_speakers, 0);
        for (std::size_t c = 0; c < f1.size(); ++c) {
            const auto s = std::size_t(m_cells.speaker[c]);
            if (f1[c] == aF1[s] && !std::isnan(f2[c])) {
                aF2[s] += f2[c];
                ++tied[s];
            }
        }
        const bool modified = m_info.method == NormalizationMethod::WattFabriciusModified;
        for (std::size_t s = 0; s < m_speakers; ++s) {
            if (tied[s] == 0) {
                refuse(s, QStringLiteral("no vowel with the highest F1 mean has an F2 mean"));
                continue;
            }
            aF2[s] /= tied[s];
            const double s1 = (iF1[s] + aF1[s] + iF1[s]) / 3.0;
            const double s2 = modified ? (iF2[s] + iF1[s]) / 2.0 : (iF2[s] + aF2[s] + iF1[s]) / 3.0;
            if (!(s1 > 0.0) || !(s2 > 0.0) || !std::isfinite(s1) || !std::isfinite(s2))
                refuse(s, QStringLiteral("the vowel space's centre is not above 0 Hz"));
            parameters[std::size_t(Formant::F1)].divisor[s] = s1;
            parameters[std::size_t(Formant::F2)].divisor[s] = s2;
        }
    }

    void gerstman(std::array<SpeakerParameters, kFormantCount> &parameters)
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        for (Formant f : m_formants) {
            const std::vector<double> means =
                cellMeans(m_cells, m_tokens.values(f), [](double v) { return v; });
            requireTwoVowels(f, means);
            std::vector<double> low(m_speakers, inf), high(m_speakers, -inf);
            for (std::size_t c = 0; c < means.size(); ++c) {
                if (std::isnan(means[c]))
                    continue;
                const auto s = std::size_t(m_cells.speaker[c]);
                low[s] = std::min(low[s], means[c]);
                high[s] = std::max(high[s], means[c]);
            }
            SpeakerParameters &p = parameters[std::size_t(f)];
            for (std::size_t s = 0; s < m_speakers; ++s) {
                if (!(high[s] > low[s]))
                    refuse(s, QStringLiteral("%1 has the same highest and lowest vowel mean")
                                  .arg(formantName(f)));
                p.offset[s] = low[s];
                p.mul[s] = 999.0;
                p.divisor[s] = high[s] - low[s];
            }
        }
    }

    void apply(const std::array<SpeakerParameters, kFormantCount> &parameters)
    {
        m_result.refused.assign(m_speakers, false);
        for (std::size_t s = 0; s < m_speakers; ++s) {
            if (!m_reasons[s].isEmpty()) {
                m_result.refused[s] = true;
                m_result.messages << QStringLiteral("speaker \"%1\" not normalised: %2")
                                         .arg(m_tokens.speakerNames[qsizetype(s)], m_reasons[s]);
            }
        }
        for (Formant f : m_formants) {
            const std::span<const double> column = m_tokens.values(f);
            const SpeakerParameters &p = parameters[std::size_t(f)];
            std::vector<double> &out = m_result.values[std::size_t(f)];
            fillOnLargePages(out, column.size(), kNaN);
            std::size_t skipped = 0;
            for (std::size_t i = 0; i < column.size(); ++i) {
                const auto s = std::size_t(m_tokens.speaker[i]);
                if (std::isnan(column[i])) {
                    ++skipped;
                    continue;
                }
                if (m_result.refused[s])
                    continue;
                const double g = m_info.logarithmic ? std::log(column[i]) : column[i];
                const double value = p.mul[s] * (g - p.offset[s]) / p.divisor[s];
                out[i] = std::isfinite(value) ? value : kNaN;
            }
            m_result.skipped[std::size_t(f)] = skipped;
        }
    }

    const TokenColumns &m_tokens;
    const NormalizationMethodInfo &m_info;
    const std::vector<Formant> &m_formants;
    NormalizationResult &m_result;
    std::size_t m_speakers;
    Cells m_cells;
    std::vector<QString> m_reasons; // per speaker; empty = normalised
};

// Large inputs of a method that treats each formant alone are normalised one formant a
// thread; the speakers refused for any formant are then refused for all, as in one run.
constexpr std::size_t kSideBySideFrom = 200000;

void normalizeSideBySide(const TokenColumns &tokens, NormalizationMethod method,
                         const std::vector<Formant> &formants, NormalizationResult &result)
{
    std::vector<std::vector<Formant>> single;
    for (Formant f : formants)
        single.push_back({f});
    std::vector<NormalizationResult> parts(formants.size());
    // A worker's exception (out of memory, above all) is carried back to this thread: one
    // escaping a thread would end the program.
    std::vector<std::exception_ptr> failures(formants.size());
    const auto runPart = [&](std::size_t k) {
        try {
            Normalizer(tokens, method, single[k], parts[k]).run();
        } catch (...) {
            failures[k] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    try {
        for (std::size_t k = 1; k < formants.size(); ++k)
            workers.emplace_back(runPart, k);
    } catch (const std::system_error &) {
        // No thread to be had: the rest run here, one after the other.
        for (std::size_t k = workers.size() + 1; k < formants.size(); ++k)
            runPart(k);
    }
    runPart(0);
    for (std::thread &worker : workers)
        worker.join();
    for (const std::exception_ptr &failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }

    const std::size_t speakers = std::size_t(tokens.speakerNames.size());
    result.refused.assign(speakers, false);
    // Each part lists its messages in speaker order, one per refused speaker.
    std::vector<qsizetype> next(parts.size(), 0);
    for (std::size_t s = 0; s < speakers; ++s) {
        bool named = false;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (!parts[k].refused[s])
                continue;
            const QString &message = parts[k].messages[next[k]++];
            if (!named)
                result.messages << message;
            named = true;
        }
        result.refused[s] = named;
    }
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const auto f = std::size_t(formants[k]);
        result.values[f] = std::move(parts[k].values[f]);
        result.skipped[f] = parts[k].skipped[f];
        if (result.messages.isEmpty())
            continue;
        std::vector<double> &values = result.values[f];
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (result.refused[std::size_t(tokens.speaker[i])])
                values[i] = kNaN;
        }
    }
}

} // namespace

std::span<const NormalizationMethodInfo> normalizationMethods()
{
    return kMethods;
}

const NormalizationMethodInfo &normalizationMethodInfo(NormalizationMethod method)
{
    return NamedChoiceInfo<NormalizationMethodInfo>(kMethods, &NormalizationMethodInfo::method,
                                                    method);
}

std::optional<NormalizationMethod> parseNormalizationMethod(const QString &name)
{
    return ParseNamedChoice<NormalizationMethodInfo>(kMethods, &NormalizationMethodInfo::method,
                                                     name);
}

std::vector<Formant> defaultNormalizationFormants(NormalizationMethod method,
                                                  const TokenColumns &tokens)
{
    std::vector<Formant> formants{Formant::F1, Formant::F2};
    if (!normalizationMethodInfo(method).firstTwoOnly && tokens.hasFormant(Formant::F3))
        formants.push_back(Formant::F3);
    return formants;
}

NormalizationResult normalize(const TokenColumns &tokens, NormalizationMethod method,
                              std::vector<Formant> formants)
{
    NormalizationResult result;
    const NormalizationMethodInfo &info = normalizationMethodInfo(method);
    if (formants.empty()) {
        result.messages << QStringLiteral("no formants to normalise");
        return result;
    }
    for (Formant f : formants) {
        if (std::count(formants.begin(), formants.end(), f) > 1) {
            result.messages << QStringLiteral("%1 is named twice").arg(formantName(f));
            return result;
        }
        if (info.firstTwoOnly && f != Formant::F1 && f != Formant::F2) {
            result.messages << QStringLiteral("%1 normalises F1 and F2 only, not %2")
                                   .arg(QLatin1String(info.name), formantName(f));
            return result;
        }
        if (!tokens.hasFormant(f)) {
            result.messages << QStringLiteral("the tokens have no %1").arg(formantName(f));
            return result;
        }
    }
    if (info.firstTwoOnly && formants.size() != 2) {
        result.messages << QStringLiteral("%1 needs both F1 and F2").arg(QLatin1String(info.name));
        return result;
    }
    if (tokens.excludedCount() > 0) {
        // Excluded tokens count as missing for the speakers' parameters, and get no value;
        // they are not reported as missing.
        TokenColumns kept = tokens;
        kept.excluded.clear();
        for (Formant f : formants) {
            std::vector<double> &column = kept.column(f);
            const std::span<const double> values = tokens.values(f);
            column.assign(values.begin(), values.end());
            kept.views[std::size_t(f)] = {};
            for (std::size_t i = 0; i < column.size(); ++i) {
                if (tokens.isExcluded(i))
                    column[i] = kNaN;
            }
        }
        NormalizationResult masked = normalize(kept, method, formants);
        for (Formant f : formants)
            masked.skipped[std::size_t(f)] -= tokens.excludedCount();
        return masked;
    }
    const bool separable = !info.firstTwoOnly && method != NormalizationMethod::Nearey2 &&
                           method != NormalizationMethod::Nearey2Balanced;
    try {
        if (separable && formants.size() > 1 && tokens.size() >= kSideBySideFrom)
            normalizeSideBySide(tokens, method, formants, result);
        else
            Normalizer(tokens, method, formants, result).run();
    } catch (const std::bad_alloc &) {
        // The request cannot be met, as an invalid one cannot: say why, fill nothing.
        result = NormalizationResult{};
        result.messages << QStringLiteral("not enough memory to normalise %L1 tokens")
                               .arg(qulonglong(tokens.size()));
        return result;
    }
    result.formants = std::move(formants);
    return result;
}
