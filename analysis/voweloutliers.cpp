#include "analysis/voweloutliers.h"

#include "analysis/reasontally.h"
#include "analysis/samplemoments.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <limits>
#include <map>

std::size_t OutlierResult::outlierCount() const
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < d2.size(); ++i)
        count += isOutlier(i) ? 1 : 0;
    return count;
}

double chiSquareQuantile(double level, int df)
{
    return boost::math::quantile(boost::math::chi_squared_distribution<double>(df), level);
}

OutlierResult vowelOutliers(std::span<const int> group, const QStringList &groupNames,
                            std::span<const int> vowel, const QStringList &vowelNames,
                            std::span<const std::span<const double>> values, double level)
{
    OutlierResult result;
    const int p = int(values.size());
    std::size_t n = std::min(group.size(), vowel.size());
    for (std::span<const double> column : values)
        n = std::min(n, column.size());
    result.d2.assign(n, std::numeric_limits<double>::quiet_NaN());
    if (p == 0)
        return result;
    result.threshold = chiSquareQuantile(level, p);

    std::map<std::pair<int, int>, std::vector<std::size_t>> cells;
    for (std::size_t i = 0; i < n; ++i) {
        if (group[i] < 0 || group[i] >= groupNames.size() || vowel[i] < 0 ||
            vowel[i] >= vowelNames.size())
            continue;
        if (!std::ranges::all_of(values, [i](auto column) { return std::isfinite(column[i]); })) {
            ++result.skipped;
            continue;
        }
        cells[{group[i], vowel[i]}].push_back(i);
    }

    FormantVector d(p);
    ReasonTally reasons(QStringLiteral("vowels"));
    const QString tooFew =
        QStringLiteral("fewer than %1 tokens, too few for a distance").arg(p + 2);
    for (const auto &[key, tokens] : cells) {
        const QString name = QStringLiteral("group \"%1\", vowel \"%2\"")
                                 .arg(groupNames[key.first], vowelNames[key.second]);
        if (int(tokens.size()) < p + 2) {
            reasons.add(tooFew, QStringLiteral("%1 (%2 %3)")
                                    .arg(name)
                                    .arg(tokens.size())
                                    .arg(tokens.size() == 1 ? "token" : "tokens"));
            ++result.tooFewTokens;
            continue;
        }
        const SampleMoments moments = sampleMoments(tokens, values);
        const std::optional<CovarianceInverse> inverse =
            invertCovariance(moments.sscp / double(moments.n - 1));
        if (!inverse) {
            reasons.add(QStringLiteral("the covariance is singular (the tokens lie on one line or "
                                       "a formant does not vary); no distance"),
                        name);
            continue;
        }
        for (std::size_t i : tokens) {
            for (int k = 0; k < p; ++k)
                d[k] = values[std::size_t(k)][i] - moments.mean[k];
            result.d2[i] = d.dot(inverse->inverse * d);
        }
    }
    result.cellCount = cells.size();
    result.messages = reasons.lines();
    return result;
}
