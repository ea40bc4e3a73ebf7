#include "analysis/voweloverlap.h"

#include "analysis/reasontally.h"
#include "analysis/samplemoments.h"
#include "analysis/statisticstable.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The usable tokens of each (group, vowel) cell, in token order.
using Cells = std::map<std::pair<int, int>, std::vector<std::size_t>>;

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

class PairComparison
{
public:
    PairComparison(const SampleMoments &a, const SampleMoments &b, QStringList &reasons)
        : m_a(a), m_b(b), m_p(int(a.mean.size())), m_reasons(reasons)
    {}

    void fill(PairOverlap &row)
    {
        row.n1 = m_a.n;
        row.n2 = m_b.n;
        if (m_a.n == 0 || m_b.n == 0) {
            m_reasons << QStringLiteral("a vowel has no tokens with every formant");
            return;
        }
        const FormantVector d = m_a.mean - m_b.mean;
        row.euclidean = d.norm();
        manova(d, row);
        bhattacharyya(d, row);
    }

    bool tooFew = false; // a figure needed more tokens than the vowels have

private:
    // Pillai's trace for the two-level factor, its F approximation and the Mahalanobis
    // distance all rest on the within-vowel SSCP E.
    void manova(const FormantVector &d, PairOverlap &row)
    {
        const int n = m_a.n + m_b.n;
        if (n - m_p - 1 < 1) {
            m_reasons << QStringLiteral("pillai and mahalanobis need at least %1 tokens of the "
                                        "two vowels together")
                             .arg(m_p + 2);
            tooFew = true;
            return;
        }
        const FormantMatrix e = m_a.sscp + m_b.sscp;
        const FormantMatrix h = (double(m_a.n) * m_b.n / n) * d * d.transpose();
        const std::optional<CovarianceInverse> eInverse = invertCovariance(e);
        const std::optional<CovarianceInverse> tInverse = invertCovariance(h + e);
        if (!eInverse || !tInverse) {
            m_reasons << QStringLiteral("pillai and mahalanobis: the within-vowel covariance is "
                                        "singular (the tokens lie on one line or a formant does "
                                        "not vary)");
            return;
        }
        const double pillai = (h * tInverse->inverse).trace();
        const double df1 = m_p;
        const double df2 = n - m_p - 1;
        const double mahalanobis2 = (n - 2) * d.dot(eInverse->inverse * d);
        if (!std::isfinite(pillai) || pillai < 0.0 || pillai >= 1.0 ||
            !std::isfinite(mahalanobis2) || mahalanobis2 < 0.0) {
            m_reasons << QStringLiteral("pillai and mahalanobis: the figures are out of range "
                                        "(the vowels are separated exactly)");
            return;
        }
        const double f = pillai / (1.0 - pillai) * df2 / df1;
        row.pillai = pillai;
        row.f = f;
        row.df1 = df1;
        row.df2 = df2;
        row.p = boost::math::cdf(
            boost::math::complement(boost::math::fisher_f_distribution<double>(df1, df2), f));
        row.mahalanobis = std::sqrt(mahalanobis2);
    }

    void bhattacharyya(const FormantVector &d, PairOverlap &row)
    {
        if (std::min(m_a.n, m_b.n) < m_p + 1) {
            m_reasons << QStringLiteral("bhattacharyya needs at least %1 tokens of each vowel")
                             .arg(m_p + 1);
            tooFew = true;
            return;
        }
        const FormantMatrix s1 = m_a.sscp / double(m_a.n - 1);
        const FormantMatrix s2 = m_b.sscp / double(m_b.n - 1);
        const std::optional<CovarianceInverse> i1 = invertCovariance(s1);
        const std::optional<CovarianceInverse> i2 = invertCovariance(s2);
        const std::optional<CovarianceInverse> mean = invertCovariance((s1 + s2) / 2.0);
        if (!i1 || !i2 || !mean) {
            m_reasons << QStringLiteral("bhattacharyya: a vowel's covariance is singular (its "
                                        "tokens lie on one line or a formant does not vary)");
            return;
        }
        const double distance =
            d.dot(mean->inverse * d) / 8.0 + (mean->logDet - (i1->logDet + i2->logDet) / 2.0) / 2.0;
        if (!std::isfinite(distance))
            return;
        row.bhattacharyya = distance;
        row.bc = std::exp(-distance);
    }

    const SampleMoments &m_a;
    const SampleMoments &m_b;
    int m_p;
    QStringList &m_reasons;
};

} // namespace

OverlapResult vowelOverlap(std::span<const int> group, const QStringList &groupNames,
                           std::span<const int> vowel, const QStringList &vowelNames,
                           std::span<const std::span<const double>> values,
                           std::span<const VowelPair> pairs)
{
    OverlapResult result;
    const int groups = int(groupNames.size());
    const int vowels = int(vowelNames.size());
    std::size_t n = std::min(group.size(), vowel.size());
    for (std::span<const double> column : values)
        n = std::min(n, column.size());
    if (values.empty())
        return result;

    Cells cells;
    for (std::size_t i = 0; i < n; ++i) {
        if (group[i] < 0 || group[i] >= groups || vowel[i] < 0 || vowel[i] >= vowels)
            continue;
        const bool usable = std::ranges::all_of(
            values, [i](std::span<const double> column) { return std::isfinite(column[i]); });
        if (!usable) {
            ++result.skipped;
            continue;
        }
        cells[{group[i], vowel[i]}].push_back(i);
    }

    const std::vector<std::size_t> none;
    const auto tokensOf = [&](int g, int v) -> const std::vector<std::size_t> & {
        const auto found = cells.find({g, v});
        return found == cells.end() ? none : found->second;
    };
    ReasonTally tally(QStringLiteral("vowel pairs"));
    for (int g = 0; g < groups; ++g) {
        std::vector<VowelPair> compared;
        if (pairs.empty()) {
            std::vector<int> present;
            for (auto it = cells.lower_bound({g, 0}); it != cells.end() && it->first.first == g;
                 ++it)
                present.push_back(it->first.second);
            for (std::size_t a = 0; a < present.size(); ++a)
                for (std::size_t b = a + 1; b < present.size(); ++b)
                    compared.push_back({present[a], present[b]});
        } else {
            compared.assign(pairs.begin(), pairs.end());
        }
        for (const VowelPair &pair : compared) {
            if (pair.first < 0 || pair.first >= vowels || pair.second < 0 || pair.second >= vowels)
                continue;
            PairOverlap row;
            row.group = g;
            row.vowels = pair;
            const SampleMoments a = sampleMoments(tokensOf(g, pair.first), values);
            const SampleMoments b = sampleMoments(tokensOf(g, pair.second), values);
            QStringList reasons;
            PairComparison comparison(a, b, reasons);
            comparison.fill(row);
            result.tooFewTokens += comparison.tooFew ? 1 : 0;
            for (const QString &reason : reasons)
                tally.add(reason, QStringLiteral("group %1, %2 and %3 (%4 and %5 tokens)")
                                      .arg(quoted(groupNames[g]), quoted(vowelNames[pair.first]),
                                           quoted(vowelNames[pair.second]))
                                      .arg(row.n1)
                                      .arg(row.n2));
            result.rows.push_back(row);
        }
    }
    result.messages = tally.lines();
    return result;
}

std::optional<std::vector<VowelPair>> parseVowelPairs(const QString &text,
                                                      const QStringList &vowelNames, QString &error)
{
    std::vector<VowelPair> pairs;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const QStringList names = item.split(QLatin1Char(':'));
        if (names.size() != 2 || names[0].isEmpty() || names[1].isEmpty()) {
            error = QStringLiteral("\"%1\" is not a pair V1:V2").arg(item);
            return std::nullopt;
        }
        VowelPair pair;
        for (int k = 0; k < 2; ++k) {
            const auto index = vowelNames.indexOf(names[k]);
            if (index < 0) {
                error = QStringLiteral("no vowel %1 in the file").arg(quoted(names[k]));
                return std::nullopt;
            }
            (k == 0 ? pair.first : pair.second) = int(index);
        }
        pairs.push_back(pair);
    }
    return pairs;
}

QStringList overlapColumns()
{
    return {"group", "vowel1", "vowel2", "n1",        "n2",          "pillai",        "f",
            "df1",   "df2",    "p",      "euclidean", "mahalanobis", "bhattacharyya", "bc"};
}

QByteArray formatOverlapTable(const OverlapResult &result, const QStringList &groupNames,
                              const QStringList &vowelNames, char separator)
{
    QByteArray out = overlapColumns().join(QLatin1Char(separator)).toUtf8() + '\n';
    const auto number = [&out, separator](const std::optional<double> &value) {
        out.append(separator);
        if (value)
            appendNumber(out, *value);
    };
    for (const PairOverlap &row : result.rows) {
        out.append(tableField(groupNames.value(row.group), separator));
        out.append(separator).append(tableField(vowelNames.value(row.vowels.first), separator));
        out.append(separator).append(tableField(vowelNames.value(row.vowels.second), separator));
        out.append(separator).append(QByteArray::number(row.n1));
        out.append(separator).append(QByteArray::number(row.n2));
        for (const auto &value : {row.pillai, row.f, row.df1, row.df2, row.p, row.euclidean,
                                  row.mahalanobis, row.bhattacharyya, row.bc})
            number(value);
        out.append('\n');
    }
    return out;
}
