#include "measure/measurementsettings.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool validCeiling(double hz)
{
    return hz >= kLowestCeiling && hz <= kHighestCeiling;
}

} // namespace

std::optional<std::vector<double>> ParseMeasurementPoints(const QString &text)
{
    std::vector<double> points;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const std::optional<double> point = parseNumber(part);
        if (!point || *point < 0 || *point > 100)
            return std::nullopt;
        if (std::find(points.begin(), points.end(), *point) == points.end())
            points.push_back(*point);
    }
    if (std::find(points.begin(), points.end(), 50.0) == points.end())
        points.push_back(50);
    std::sort(points.begin(), points.end());
    return points;
}

std::optional<std::pair<double, double>> ParseCeilingRange(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<double> low = parseNumber(parts[0]);
    const std::optional<double> high = parseNumber(parts[1]);
    if (!low || !high || !validCeiling(*low) || !validCeiling(*high) || *low > *high)
        return std::nullopt;
    return std::pair{*low, *high};
}

std::optional<std::optional<double>> ParseCeiling(const QString &text)
{
    if (text.trimmed().compare(QStringLiteral("auto"), Qt::CaseInsensitive) == 0)
        return std::optional<double>{};
    const std::optional<double> hz = parseNumber(text);
    if (!hz || !validCeiling(*hz))
        return std::nullopt;
    return std::optional<double>{*hz};
}

QString PointName(double point)
{
    return QString::number(point, 'g', 6);
}
