#include "analysis/statisticstable.h"

#include <charconv>
#include <cmath>

void appendNumber(QByteArray &out, double value)
{
    if (!std::isfinite(value))
        return;
    char digits[64];
    // Plain decimals in the usual range (400000, not 4e+05); exponents only for the
    // very large and very small.
    const double magnitude = std::abs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e15);
    const auto result =
        plain ? std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed)
              : std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

QStringList statisticsColumns()
{
    return {"group",  "n",          "mean_x",     "mean_y",    "sd_x", "sd_y",
            "cov_xy", "semi_major", "semi_minor", "angle_deg", "area", "inside"};
}

QByteArray tableField(const QString &text, char separator)
{
    QByteArray bytes = text.toUtf8();
    // As the table writer quotes a cell: a label holding a tab or a line break would
    // otherwise split its row in TSV as much as a comma does in CSV.
    const bool quote = bytes.contains(separator) || bytes.contains('"') || bytes.contains('\n') ||
                       bytes.contains('\r');
    if (!quote)
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QByteArray formatStatisticsTable(const StatisticsResult &stats, const QStringList &groupNames,
                                 char separator)
{
    QByteArray out = statisticsColumns().join(QLatin1Char(separator)).toUtf8() + '\n';
    const auto number = [&out, separator](const std::optional<double> &value) {
        out.append(separator);
        if (value)
            appendNumber(out, *value);
    };
    for (std::size_t g = 0; g < stats.groups.size(); ++g) {
        const GroupStatistics &s = stats.groups[g];
        out.append(tableField(
            g < std::size_t(groupNames.size()) ? groupNames[qsizetype(g)] : QString(), separator));
        out.append(separator).append(QByteArray::number(s.n));
        number(s.meanX);
        number(s.meanY);
        number(s.sdX);
        number(s.sdY);
        number(s.covXY);
        const auto &e = s.ellipse;
        number(e ? std::optional(e->semiMajor) : std::nullopt);
        number(e ? std::optional(e->semiMinor) : std::nullopt);
        number(e ? std::optional(e->angleDeg) : std::nullopt);
        number(e ? std::optional(e->area) : std::nullopt);
        out.append(separator);
        if (s.inside)
            out.append(QByteArray::number(*s.inside));
        out.append('\n');
    }
    return out;
}
