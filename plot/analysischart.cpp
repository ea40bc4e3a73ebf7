#include "plot/analysischart.h"

#include "analysis/documentanalysis.h"
#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/nameindex.h"
#include "analysis/normalization.h"
#include "analysis/tokencolumns.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/chartpalette.h"
#include "plot/charttrajectories.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr int kOutlineSteps = 120;

// The unit an axis caption names: the scale's or the method's own, or the name as given.
QString scaleUnit(const QString &scale)
{
    const std::optional<FrequencyScale> known = parseFrequencyScale(scale);
    return known ? QString::fromUtf8(frequencyScaleInfo(*known).unit) : scale;
}

QString normalizationUnit(const QString &method)
{
    const std::optional<NormalizationMethod> known = parseNormalizationMethod(method);
    return known ? QString::fromUtf8(normalizationMethodInfo(*known).unit) : method;
}

// The chart's rows hold F1 to F3: other formants of the list are none of its.
std::vector<Formant> formantList(const QString &text)
{
    std::vector<Formant> formants = parseFormantList(text).value_or(std::vector<Formant>{});
    std::erase_if(formants, [](Formant f) { return f < Formant::F1 || f > Formant::F3; });
    return formants;
}

std::vector<QPointF> ellipseOutline(const QPointF &mean, const EllipseShape &shape)
{
    std::vector<QPointF> outline;
    outline.reserve(kOutlineSteps + 1);
    const double theta = shape.angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    for (int k = 0; k <= kOutlineSteps; ++k) {
        const double t = 2.0 * std::numbers::pi * k / kOutlineSteps;
        const double a = shape.semiMajor * std::cos(t);
        const double b = shape.semiMinor * std::sin(t);
        outline.emplace_back(mean.x() + a * c - b * s, mean.y() + a * s + b * c);
    }
    return outline;
}

} // namespace

QString analysisUnit(const QString &scale, const QString &normalization)
{
    if (!normalization.isEmpty())
        return normalizationUnit(normalization);
    return scaleUnit(scale.isEmpty() ? QStringLiteral("bark") : scale);
}

QString analysisAxisCaption(const QString &formant, const QString &scale,
                            const QString &normalization)
{
    if (!normalization.isEmpty())
        return QStringLiteral("%1 (%2)").arg(formant, normalizationUnit(normalization));
    if (scale.isEmpty() || scale.compare(QLatin1String("bark"), Qt::CaseInsensitive) == 0)
        return formant;
    return QStringLiteral("%1 (%2)").arg(formant, scaleUnit(scale));
}

AnalysisChart buildAnalysisChart(const CTessavoxDoc &doc, int horizontalColumn)
{
    const AnalysisOptions &options = doc.m_analysis;
    const TokenTableModel &rows = doc.tokens();
    const int count = std::min(doc.m_nTokenCount, rows.count());
    const Formant horizontal = horizontalColumn == TokenTableModel::F3 ? Formant::F3 : Formant::F2;

    AnalysisChart chart;
    chart.normalised = !options.normalization.isEmpty();
    chart.scale = options.scale;
    const QString horizontalName = formantName(horizontal);
    chart.xCaption = analysisAxisCaption(horizontalName, options.scale, options.normalization);
    chart.yCaption =
        analysisAxisCaption(QStringLiteral("F1"), options.scale, options.normalization);

    // Each row carries its speaker, and its row of the table file for the colouring
    // column, so both follow every sort and edit.
    const bool haveSpeakers = rows.speakerShown();
    const int colourColumn = options.colorBy == AnalysisOptions::ColorBy::Column
                                 ? doc.tableColumn(options.colorColumn)
                                 : -1;

    TokenColumns tokens = documentTokenColumns(doc, DocumentVowels::ByOrder);

    chart.x.assign(std::size_t(count), kMissing);
    chart.y.assign(std::size_t(count), kMissing);
    if (chart.normalised) {
        const std::optional<NormalizationMethod> method =
            parseNormalizationMethod(options.normalization);
        if (!method) {
            chart.messages
                << QStringLiteral("unknown normalisation \"%1\"").arg(options.normalization);
            return chart;
        }
        // As the stats command does: methods other than nearey2 treat each formant alone,
        // so only the chart's two are normalised; a formant no row has is not in use.
        if (std::ranges::all_of(tokens.column(Formant::F3), [](double v) { return std::isnan(v); }))
            tokens.column(Formant::F3).clear();
        const bool shared = *method == NormalizationMethod::Nearey2 ||
                            *method == NormalizationMethod::Nearey2Balanced;
        std::vector<Formant> formants = formantList(options.formants);
        if (formants.empty())
            formants = shared ? defaultNormalizationFormants(*method, tokens)
                              : std::vector<Formant>{Formant::F1, horizontal};
        for (Formant needed : {Formant::F1, horizontal})
            if (std::ranges::find(formants, needed) == formants.end())
                formants.push_back(needed);
        NormalizationResult result = normalize(tokens, *method, formants);
        chart.messages << result.messages;
        if (!result.valid())
            return chart;
        chart.x = std::move(result.values[std::size_t(horizontal)]);
        chart.y = std::move(result.values[std::size_t(Formant::F1)]);
    } else {
        const FrequencyScale scale =
            parseFrequencyScale(options.scale).value_or(FrequencyScale::Bark);
        if (!parseFrequencyScale(options.scale))
            chart.messages
                << QStringLiteral("unknown scale \"%1\"; Bark is used").arg(options.scale);
        for (std::size_t r = 0; r < std::size_t(count); ++r) {
            chart.x[r] = hzToScale(scale, tokens.column(horizontal)[r]);
            chart.y[r] = hzToScale(scale, tokens.column(Formant::F1)[r]);
        }
    }

    // Each row's colour key and panel.
    NameIndex colourKeys;
    NameIndex facetKeys;
    const bool facetBySpeaker =
        options.facetColumn.compare(QLatin1String("speaker"), Qt::CaseInsensitive) == 0 &&
        doc.tableColumn(options.facetColumn) < 0;
    const int facetColumn =
        options.facetColumn.isEmpty() || facetBySpeaker ? -1 : doc.tableColumn(options.facetColumn);
    if (!options.facetColumn.isEmpty() && !facetBySpeaker && facetColumn < 0)
        chart.messages
            << QStringLiteral("no column \"%1\" to draw panels by").arg(options.facetColumn);
    chart.rowColour.assign(std::size_t(count), -1);
    chart.rowFacet.assign(std::size_t(count), 0);
    std::vector<int> run(std::size_t(count), 0);
    QStringList rowKey;
    rowKey.reserve(count);
    int previousOrder = std::numeric_limits<int>::min();
    int runs = -1;
    for (int row = 0; row < count; ++row) {
        const std::size_t r = std::size_t(row);
        const int order = rows.number(row, TokenTableModel::Order);
        if (row == 0 || order != previousOrder)
            ++runs;
        previousOrder = order;
        run[r] = runs;
        QString key;
        switch (options.colorBy) {
        case AnalysisOptions::ColorBy::None:
            break;
        case AnalysisOptions::ColorBy::Vowel:
            chart.rowColour[r] = colourKeys.indexOf(QString::number(order));
            break;
        case AnalysisOptions::ColorBy::Speaker:
            key = haveSpeakers ? rows.row(row).speaker : QString();
            chart.rowColour[r] = colourKeys.indexOf(key);
            break;
        case AnalysisOptions::ColorBy::Column:
            key = doc.tableText(row, colourColumn);
            chart.rowColour[r] = colourKeys.indexOf(key);
            break;
        }
        rowKey << key;
        if (facetBySpeaker)
            chart.rowFacet[r] = facetKeys.indexOf(haveSpeakers ? rows.row(row).speaker : QString());
        else if (facetColumn >= 0)
            chart.rowFacet[r] = facetKeys.indexOf(doc.tableText(row, facetColumn));
    }
    chart.facets = facetKeys.names();
    const bool legendColours = options.colorBy == AnalysisOptions::ColorBy::Speaker ||
                               options.colorBy == AnalysisOptions::ColorBy::Column;
    if (legendColours) {
        chart.legend = colourKeys.names();
        if (chart.legend.size() > ChartPalette::size())
            chart.messages << QStringLiteral("%1 values to colour by but %2 distinct colours: "
                                             "colours repeat; one panel per value (facets) "
                                             "tells them apart")
                                  .arg(chart.legend.size())
                                  .arg(ChartPalette::size());
    }

    // A vowel (a run in one panel) is split by colour only when every part has enough
    // tokens with a place on the chart for a mean and an ellipse.
    const auto placed = [&chart](std::size_t r) {
        return std::isfinite(chart.x[r]) && std::isfinite(chart.y[r]);
    };
    QHash<QString, int> partCount;
    const auto runKey = [&](std::size_t r) {
        return QString::number(run[r]) + QLatin1Char('\x1f') + QString::number(chart.rowFacet[r]);
    };
    if (legendColours)
        for (std::size_t r = 0; r < std::size_t(count); ++r)
            if (placed(r))
                ++partCount[runKey(r) + QLatin1Char('\x1f') + rowKey[qsizetype(r)]];
    QSet<QString> unsplit;
    for (auto it = partCount.cbegin(); it != partCount.cend(); ++it)
        if (*it < kMinEllipseGroupSize)
            unsplit.insert(it.key().section(QLatin1Char('\x1f'), 0, 1));

    QHash<QString, int> groupOf;
    std::vector<int> group(std::size_t(count), -1);
    for (int row = 0; row < count; ++row) {
        const std::size_t r = std::size_t(row);
        const QString vowelKey = runKey(r);
        const bool split = legendColours && !unsplit.contains(vowelKey);
        const QString groupKey =
            split ? vowelKey + QLatin1Char('\x1f') + rowKey[qsizetype(r)] : vowelKey;
        auto it = groupOf.find(groupKey);
        if (it == groupOf.end()) {
            it = groupOf.insert(groupKey, int(chart.groups.size()));
            AnalysisChartGroup g;
            g.order = rows.number(row, TokenTableModel::Order);
            g.firstLabel = rows.symbol(row);
            g.colour = legendColours && !split ? -1 : chart.rowColour[r];
            g.facet = chart.rowFacet[r];
            chart.groups.push_back(g);
        }
        AnalysisChartGroup &g = chart.groups[std::size_t(*it)];
        if (g.sameLabel && rows.symbol(row) != g.firstLabel)
            g.sameLabel = false;
        ++g.count;
        group[r] = *it;
    }

    const EllipseKind kind = parseEllipseKind(options.ellipse).value_or(EllipseKind::Sd2Population);
    QStringList names;
    for (const AnalysisChartGroup &g : chart.groups) {
        const QString label = g.sameLabel ? g.firstLabel : QStringLiteral("?%1").arg(g.order);
        QString name = label;
        if (g.colour >= 0 && legendColours)
            name += QLatin1Char('/') + colourKeys.names().value(g.colour);
        if (!chart.facets.isEmpty())
            name += QLatin1Char('/') + chart.facets.value(g.facet);
        names << name;
    }
    // Excluded rows keep their place in the groups but count in no figure and are not drawn.
    for (std::size_t r = 0; r < std::size_t(count); ++r) {
        if (tokens.isExcluded(r))
            chart.x[r] = chart.y[r] = kMissing;
    }
    chart.statistics = groupStatistics(tokens.withoutExcluded(group), int(chart.groups.size()),
                                       chart.x, chart.y, kind, names);
    chart.groupNames = names;
    const StatisticsResult &stats = chart.statistics;
    if (haveSpeakers) {
        chart.speakerNames = tokens.speakerNames;
        chart.vowelSpace =
            vowelSpaceAreas(tokens.withoutExcluded(tokens.speaker), tokens.speakerNames,
                            tokens.vowel, tokens.vowelNames, chart.x, chart.y, {});
    }
    for (std::size_t i = 0; i < chart.groups.size() && i < stats.groups.size(); ++i) {
        AnalysisChartGroup &g = chart.groups[i];
        const GroupStatistics &s = stats.groups[i];
        if (s.n < kMinEllipseGroupSize || !s.meanX || !s.meanY)
            continue;
        g.hasMean = true;
        g.mean = QPointF(*s.meanX, *s.meanY);
        if (s.ellipse)
            g.outline = ellipseOutline(g.mean, *s.ellipse);
    }
    if (options.trajectories)
        addTrajectories(chart, doc, horizontalColumn, group);
    return chart;
}
