#include "plot/charttrajectories.h"

#include "analysis/frequencyscale.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// Point columns by formant and percentage: "F1_20", "F1.50", "F2@80%", any case.
struct PointColumns
{
    std::map<double, int> f1; // percentage -> table column
    std::map<double, int> horizontal;
};

PointColumns pointColumns(const CTessavoxDoc &doc, int horizontalFormant)
{
    static const QRegularExpression name(
        QStringLiteral("^F([1-3])\\s*[_.@]\\s*([0-9]+(?:\\.[0-9]+)?)\\s*%?$"),
        QRegularExpression::CaseInsensitiveOption);
    PointColumns found;
    for (const QString &header : doc.otherTableColumns()) {
        const QRegularExpressionMatch m = name.match(header.trimmed());
        if (!m.hasMatch())
            continue;
        const int formant = m.captured(1).toInt();
        const double percent = m.captured(2).toDouble();
        const int column = doc.tableColumn(header);
        if (formant == 1)
            found.f1.emplace(percent, column);
        else if (formant == horizontalFormant)
            found.horizontal.emplace(percent, column);
    }
    return found;
}

// A cell as hertz: a decimal point or comma; empty, not a number or <= 0 is missing.
double hertz(const CTessavoxDoc &doc, int row, int column)
{
    QString text = doc.tableText(row, column).trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value > 0.0 ? value : kMissing;
}

} // namespace

void addTrajectories(AnalysisChart &chart, const CTessavoxDoc &doc, int horizontalColumn,
                     std::span<const int> group)
{
    const int horizontalFormant = horizontalColumn == TokenTableModel::F3 ? 3 : 2;
    const PointColumns columns = pointColumns(doc, horizontalFormant);
    // The points measured for both formants, in order.
    std::vector<std::pair<int, int>> points;
    for (const auto &[percent, column] : columns.f1) {
        const auto other = columns.horizontal.find(percent);
        if (other != columns.horizontal.end())
            points.emplace_back(column, other->second);
    }
    if (points.size() < 2) {
        chart.messages << QStringLiteral("no trajectories: the table has no point columns "
                                         "such as F1_20, F1_50, F1_80 and F%1_20, F%1_50, F%1_80")
                              .arg(horizontalFormant);
        return;
    }
    if (chart.normalised) {
        chart.messages << QStringLiteral("trajectories are drawn in a scale, not normalised");
        return;
    }
    const FrequencyScale scale = parseFrequencyScale(chart.scale).value_or(FrequencyScale::Bark);
    const std::size_t rows = chart.x.size();
    chart.rowPath.assign(rows, {});
    std::vector<std::vector<QPointF>> sums(chart.groups.size(),
                                           std::vector<QPointF>(points.size()));
    std::vector<std::vector<int>> counts(chart.groups.size(), std::vector<int>(points.size()));
    for (std::size_t r = 0; r < rows && r < group.size(); ++r) {
        std::vector<QPointF> &path = chart.rowPath[r];
        for (std::size_t p = 0; p < points.size(); ++p) {
            const double x = hzToScale(scale, hertz(doc, int(r), points[p].second));
            const double y = hzToScale(scale, hertz(doc, int(r), points[p].first));
            path.emplace_back(x, y);
            if (group[r] < 0 || !std::isfinite(x) || !std::isfinite(y))
                continue;
            sums[std::size_t(group[r])][p] += QPointF(x, y);
            ++counts[std::size_t(group[r])][p];
        }
    }
    // A group's mean path goes through the points its tokens were measured at. A mean
    // path needs no spread, so it is drawn for a group too small for a mean and ellipse:
    // a single speaker's recording has one token of each vowel.
    chart.groupPath.assign(chart.groups.size(), {});
    for (std::size_t g = 0; g < chart.groups.size(); ++g) {
        for (std::size_t p = 0; p < points.size(); ++p)
            if (counts[g][p] > 0)
                chart.groupPath[g].push_back(sums[g][p] / counts[g][p]);
    }
}
