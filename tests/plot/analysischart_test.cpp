// Charts drawn with analysis options: colour per group, hidden tokens, fitted geometry,
// and tick and group labels that never overlap (over the examples and random data).

#include "analysis/frequencyscale.h"
#include "document/tessavoxdoc.h"
#include "faketable.h"
#include "openedfile.h"
#include "plot/analysischart.h"
#include "plot/chartfonts.h"
#include "plot/chartlayout.h"
#include "plot/chartpalette.h"
#include "plot/chartrenderer.h"
#include "testfiles.h"

#include <QHash>
#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

#include <random>

namespace {

QImage drawChart(ChartRenderer &renderer, const CTessavoxDoc &doc, QSize size = {800, 600},
                 bool device = false)
{
    QImage image = blankImage(size.width(), size.height());
    QPainter painter(&image);
    if (device) {
        renderer.DrawPlotToDC(painter, doc, {0, 0, size.width(), size.height()}, 1, 1);
    } else {
        std::array<QRect, 1000> hits{};
        const QFont font = ChartFonts::logicalFont(QStringLiteral("DisplayFont"), 16, 7);
        renderer.DrawPlot(painter, doc, {0, 0, size.width(), size.height()}, 1, font, hits);
    }
    return image;
}

// Pixels of `colour`, or close to it (smoothed edges of text and marks).
int pixelsOf(const QImage &image, QColor colour, const QRect &area, int tolerance = 40)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                     std::abs(p.blue() - colour.blue()) <=
                 tolerance;
        }
    return n;
}

// Two tight groups of circles (no symbol) far apart, and a labelled group.
std::vector<FakeRow> twoGroups()
{
    std::vector<FakeRow> rows;
    for (int i = 0; i < 4; ++i)
        rows.push_back({300 + 10 * i, 2200 + 20 * i, 2900, QStringLiteral("i"), 1});
    for (int i = 0; i < 4; ++i)
        rows.push_back({700 + 10 * i, 1100 + 20 * i, 2500, QStringLiteral("a"), 2});
    return rows;
}

template <typename Box>
void expectNoOverlap(const std::vector<Box> &boxes, const char *what, const QString &where)
{
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i].intersects(boxes[j]))
                << what << " " << i << " and " << j << " overlap in " << where.toStdString();
}

void expectReadableLayout(const ChartLayoutRecord &layout, const QString &where)
{
    // 4 to 10 labels an axis, never closer than 2 pixels.
    for (const std::vector<QRect> *labels : {&layout.horizontalTickLabels, &layout.f1TickLabels}) {
        EXPECT_GE(labels->size(), 4u) << where.toStdString();
        EXPECT_LE(labels->size(), 10u) << where.toStdString();
        std::vector<QRect> widened;
        for (const QRect &label : *labels)
            widened.push_back(label.adjusted(-1, -1, 1, 1));
        expectNoOverlap(widened, "tick labels 2 pixels apart", where);
    }
    expectNoOverlap(layout.groupLabels, "group labels", where);
    ASSERT_EQ(layout.groupLabels.size(), layout.means.size());
    for (std::size_t i = 0; i < layout.means.size(); ++i) {
        // Next to its mean: the box lies within a few label heights of it (crowded small
        // charts push a label out a ring or two, with a leader line).
        const QRect label = layout.groupLabels[i];
        const QRect near = label.adjusted(-150, -150, 150, 150);
        EXPECT_TRUE(near.contains(layout.means[i]))
            << where.toStdString() << " label at " << label.x() << "," << label.y() << " mean "
            << layout.means[i].x() << "," << layout.means[i].y();
    }
}

} // namespace

TEST(AnalysisChart, ColoursEachGroupAndHidesTokensOnRequest)
{
    FakeDocument data(twoGroups());
    CTessavoxDoc &doc = *data.doc;
    ChartRenderer renderer(ChartKind::F1F2);

    // The classic chart records no layout and draws in black only.
    const QImage classic = drawChart(renderer, doc);
    EXPECT_TRUE(renderer.lastLayout().means.empty());
    EXPECT_EQ(pixelsOf(classic, ChartPalette::colour(0), classic.rect()), 0);

    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    const QImage coloured = drawChart(renderer, doc);
    const ChartLayoutRecord layout = renderer.lastLayout();
    ASSERT_EQ(layout.means.size(), 2u);
    // Each group's mean disc, tokens and label in its own palette colour.
    for (int g = 0; g < 2; ++g) {
        const QRect around(layout.means[std::size_t(g)] - QPoint(3, 3), QSize(7, 7));
        EXPECT_GT(pixelsOf(coloured, ChartPalette::colour(g), around), 10) << g;
        EXPECT_EQ(pixelsOf(coloured, ChartPalette::colour(1 - g), around), 0) << g;
        EXPECT_GT(pixelsOf(coloured, ChartPalette::colour(g), layout.groupLabels[std::size_t(g)]),
                  5);
    }
    // The same picture for print and bitmap: the device drawing colours alike.
    const QImage printed = drawChart(renderer, doc, {800, 600}, true);
    EXPECT_GT(pixelsOf(printed, ChartPalette::colour(1), printed.rect()), 20);

    // Tokens hidden: the group labels ("i", "a") stay, the token labels go.
    const int withTokens = pixelsOf(coloured, ChartPalette::colour(0), coloured.rect());
    doc.m_analysis.showTokens = false;
    const QImage hidden = drawChart(renderer, doc);
    const int withoutTokens = pixelsOf(hidden, ChartPalette::colour(0), hidden.rect());
    EXPECT_GT(withoutTokens, 0);
    EXPECT_LT(withoutTokens, withTokens);
    EXPECT_EQ(renderer.lastLayout().means, layout.means);
}

TEST(AnalysisChart, MixedGroupsKeepTheRedQuestionMarkAndTheirClickSquare)
{
    std::vector<FakeRow> rows = twoGroups();
    rows[0].symbol = QStringLiteral("y"); // group 1 now mixes "y" and "i"
    FakeDocument data(rows);
    data.doc->m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    data.doc->m_analysis.fit = true;
    ChartRenderer renderer(ChartKind::F1F2);
    std::array<QRect, 1000> hits{};
    QImage image = blankImage();
    QPainter painter(&image);
    renderer.DrawPlot(painter, *data.doc, {0, 0, 800, 600}, 1, QFont(), hits);
    painter.end();
    EXPECT_GT(pixelsOf(image, QColor(255, 0, 0), renderer.lastLayout().groupLabels[0]), 5);
    EXPECT_TRUE(hits[1].contains(renderer.lastLayout().means[0]));
    EXPECT_FALSE(hits[2].isValid());
}

// Fitting changes only the drawing; a normalisation that cannot take a speaker refuses it
// with a message, never a crash.
TEST(AnalysisChart, FitFillsTheFrameBothWaysOrKeepsEqualUnitsAndRefusalsAreMessages)
{
    FakeDocument data(twoGroups());
    CTessavoxDoc &doc = *data.doc;
    doc.m_analysis.fit = true;
    ChartRenderer renderer(ChartKind::F1F2);
    for (const char *normalization : {"", "lobanov"}) {
        doc.m_analysis.normalization = normalization;
        for (bool equal : {false, true}) {
            doc.m_analysis.equalAspect = equal;
            for (QSize size :
                 {QSize(800, 600), QSize(400, 900), QSize(1600, 500), QSize(120, 90)}) {
                drawChart(renderer, doc, size);
                const ChartLayoutRecord &layout = renderer.lastLayout();
                const QString where = QStringLiteral("%1 %2 %3x%4")
                                          .arg(normalization)
                                          .arg(equal)
                                          .arg(size.width())
                                          .arg(size.height());
                EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(layout.plotArea))
                    << where.toStdString();
                const double across = double(layout.plotArea.width()) / size.width();
                const double down = double(layout.plotArea.height()) / size.height();
                if (equal) {
                    EXPECT_DOUBLE_EQ(layout.mapping.ky, layout.mapping.kx) << where.toStdString();
                }
                // A frame too small for the axes' text has no room to promise.
                if (size.width() < 400)
                    continue;
                for (const QPoint &mean : layout.means)
                    EXPECT_TRUE(layout.plotArea.contains(mean)) << where.toStdString();
                // Filled both ways; with equal units, at least one way.
                EXPECT_GT(equal ? std::max(across, down) : std::min(across, down), 0.7)
                    << where.toStdString();
            }
        }
    }
    doc.m_analysis.equalAspect = false;

    doc.m_analysis.normalization = QStringLiteral("gerstman");
    drawChart(renderer, doc);
    EXPECT_TRUE(renderer.lastLayout().messages.isEmpty());
    EXPECT_EQ(renderer.lastLayout().means.size(), 2u);
    // One vowel only: a vowel-mean method refuses the speaker.
    FakeDocument one(
        {{300, 2200, 2900, "i", 1}, {310, 2250, 2900, "i", 1}, {320, 2300, 2900, "i", 1}});
    one.doc->m_analysis.normalization = QStringLiteral("gerstman");
    drawChart(renderer, *one.doc);
    EXPECT_FALSE(renderer.lastLayout().messages.isEmpty());
    EXPECT_TRUE(renderer.lastLayout().means.empty());
}

// Colouring by a column of a table takes each row's value from its own row of the file,
// so the colours follow the rows through a sort and an added row.
TEST(AnalysisChart, ColourByAColumnFollowsEachRowThroughSortingAndEditing)
{
    TestFiles files;
    const QString path = files.write("dialects.csv", "speaker,vowel,F1,F2,dialect\n"
                                                     "s1,i,300,2300,north\ns1,a,700,1200,south\n"
                                                     "s2,i,310,2250,south\ns2,a,720,1250,north\n"
                                                     "s2,u,340,,west\ns1,i,290,2350,west\n"
                                                     "s2,u,330,800,west\n");
    OpenedFile file;
    ASSERT_TRUE(file.open(path));
    CTessavoxDoc &doc = file.doc;
    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Column;
    doc.m_analysis.colorColumn = QStringLiteral("dialect");
    const QHash<int, QString> dialectOfF1 = {{300, "north"}, {700, "south"}, {310, "south"},
                                             {720, "north"}, {290, "west"},  {330, "west"},
                                             {340, "west"},  {500, ""}};
    TokenTableModel &tokens = doc.tokens();
    const auto expectColoursByDialect = [&](const char *when) {
        const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
        ASSERT_EQ(chart.rowColour.size(), std::size_t(tokens.count())) << when;
        QHash<QString, int> colourOf;
        for (int row = 0; row < tokens.count(); ++row) {
            const QString dialect = dialectOfF1.value(tokens.number(row, TokenTableModel::F1));
            const int colour = chart.rowColour[std::size_t(row)];
            EXPECT_EQ(colourOf.value(dialect, colour), colour) << when << " row " << row;
            colourOf.insert(dialect, colour);
        }
        EXPECT_EQ(QSet<int>(colourOf.cbegin(), colourOf.cend()).size(), colourOf.size()) << when;
    };
    expectColoursByDialect("as opened");
    tokens.sortByColumn(TokenTableModel::F1);
    expectColoursByDialect("sorted by F1");
    TokenTableModel::Row added;
    added.numbers = {500, 1500, 2500, 1};
    added.symbol = QStringLiteral("e");
    tokens.insertRowAt(0, added);
    tokens.setSymbol(1, QStringLiteral("y"));
    expectColoursByDialect("a row added, a symbol typed");
}

TEST(ChartLayout, TicksStepByOneTwoFiveAndKeepApart)
{
    const auto linear = [](double v) { return v * 3.0; };
    const auto wide = [](double) { return 40.0; };
    const AxisTicks ticks = chooseTicks(0, 1000, 6, linear, wide);
    ASSERT_GE(ticks.values.size(), 2u);
    EXPECT_DOUBLE_EQ(ticks.values[1] - ticks.values[0], 200.0); // ten labels at most
    EXPECT_EQ(ticks.labelCount(), 6);
    EXPECT_TRUE(chooseTicks(5, 5, 6, linear, wide).values.empty());
    EXPECT_TRUE(chooseTicks(0, std::nan(""), 6, linear, wide).values.empty());
    // Many labels at one point: every box found a place of its own.
    const std::vector<QPointF> anchors(30, QPointF(400, 300));
    const std::vector<QSizeF> sizes(30, QSizeF(30, 20));
    expectNoOverlap(placeLabels(anchors, sizes, QRectF(0, 0, 800, 600), 4), "labels", "a point");
}

TEST(ChartLayout, LabelsNeverOverlapOverTheExamplesAndRandomData)
{
    // Normalisation, scale, and whether tokens show.
    const std::tuple<const char *, const char *, bool> variants[] = {
        {"", "bark", false},        {"lobanov", "bark", true}, {"", "hz", false},
        {"nearey1", "bark", false}, {"", "mel", true},         {"watt-fabricius", "bark", false}};
    const QSize sizes[] = {{800, 600}, {500, 400}, {1400, 700}};
    const auto check = [&](CTessavoxDoc &doc, const QString &name) {
        for (ChartKind kind : {ChartKind::F1F2, ChartKind::F1F3}) {
            ChartRenderer renderer(kind);
            for (const auto &[normalization, scale, tokens] : variants) {
                if (kind == ChartKind::F1F3 && QString(normalization).startsWith("watt"))
                    continue;
                doc.m_analysis.normalization = normalization;
                doc.m_analysis.scale = scale;
                doc.m_analysis.showTokens = tokens;
                doc.m_analysis.fit = true;
                doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
                for (QSize size : sizes) {
                    drawChart(renderer, doc, size);
                    expectReadableLayout(renderer.lastLayout(), QStringLiteral("%1 %2 %3 %4x%5")
                                                                    .arg(name, normalization, scale)
                                                                    .arg(size.width())
                                                                    .arg(size.height()));
                }
            }
        }
    };
    for (const char *example : {"peterson-barney-men", "peterson-barney-all"}) {
        const QString path = QStringLiteral(TESSAVOX_EXAMPLES "/%1.txt").arg(example);
        OpenedFile file;
        ASSERT_TRUE(file.open(path)) << path.toStdString();
        check(file.doc, example);
    }
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 5; ++trial) {
        std::uniform_int_distribution<int> f1(200, 1100), f2(600, 3200), groups(2, 14);
        const int groupCount = groups(random);
        std::vector<FakeRow> rows;
        for (int g = 1; g <= groupCount; ++g)
            for (int t = 0; t < 6; ++t)
                rows.push_back({f1(random), f2(random), 2800,
                                QString(QChar(u'a' + g)).repeated(1 + g % 3), g});
        FakeDocument data(rows);
        check(*data.doc, QStringLiteral("random %1").arg(trial));
    }
}

namespace {

// Nine tokens of i close together and one far off: the one outlier of a 0.95 level.
std::vector<FakeRow> strayGroup()
{
    std::vector<FakeRow> rows;
    const int f1[] = {300, 310, 305, 295, 315, 290, 308, 302, 298};
    const int f2[] = {2300, 2250, 2350, 2280, 2320, 2260, 2330, 2270, 2310};
    for (int i = 0; i < 9; ++i)
        rows.push_back({f1[i], f2[i], 2900, QStringLiteral("i"), 1});
    rows.push_back({600, 1500, 2900, QStringLiteral("i"), 1});
    return rows;
}

} // namespace

// The ring goes about the stray token where the chart draws it; excluded, that token leaves
// the chart, its ring and the group's figures, and the classic chart passes it over too.
TEST(AnalysisChart, OutlierRingsAndExcludedTokens)
{
    FakeDocument data(strayGroup());
    CTessavoxDoc &doc = *data.doc;
    ChartRenderer renderer(ChartKind::F1F2);
    doc.m_analysis.outlierLevel = 0.95;
    const QImage ringed = drawChart(renderer, doc);
    const ChartLayoutRecord layout = renderer.lastLayout();
    ASSERT_EQ(layout.outlierRings.size(), 1u);
    const QPoint stray(int(layout.mapping.x(HzToBarkZwicker(1500))),
                       int(layout.mapping.y(HzToBarkZwicker(600))));
    EXPECT_TRUE(layout.outlierRings[0].contains(stray));
    EXPECT_GT(pixelsOf(ringed, QColor(220, 0, 0), layout.outlierRings[0]), 20);
    EXPECT_EQ(buildAnalysisChart(doc, TokenTableModel::F2).statistics.groups[0].n, 10);

    EXPECT_EQ(doc.setRowsExcluded(std::vector<int>{9, 42}, true), 1);
    drawChart(renderer, doc);
    EXPECT_TRUE(renderer.lastLayout().outlierRings.empty());
    const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
    EXPECT_EQ(chart.statistics.groups[0].n, 9);
    EXPECT_EQ(chart.statistics.skipped, 0u);
    EXPECT_TRUE(std::isnan(chart.x[9]));
    doc.m_analysis.outlierLevel = 0.0;
    EXPECT_FALSE(renderer.hasPosition(doc.tokens(), 9));
    EXPECT_TRUE(renderer.hasPosition(doc.tokens(), 8));
}

// Too few tokens for a distance drew no ring and said nothing: the window's status bar
// now gets one line for the reason, however many vowels it applies to.
TEST(AnalysisChart, OutliersThatCannotBeMarkedSayWhy)
{
    std::vector<FakeRow> rows;
    for (int k = 0; k < 3; ++k) {
        rows.push_back({300 + 20 * k, 2300 - 50 * k, 2900, QStringLiteral("i"), 1});
        rows.push_back({700 + 20 * k, 1200 + 30 * k * k, 2500, QStringLiteral("a"), 2});
    }
    FakeDocument data(rows);
    data.doc->m_analysis.outlierLevel = 0.95;
    ChartRenderer renderer(ChartKind::F1F2);
    drawChart(renderer, *data.doc);
    EXPECT_TRUE(renderer.lastLayout().outlierRings.empty());
    const QStringList messages = renderer.lastLayout().messages.filter("outliers:");
    ASSERT_EQ(messages.size(), 1) << renderer.lastLayout().messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].contains("fewer than 4 tokens")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("2 vowels")) << messages[0].toStdString();
}

// Where the scale packs high frequencies together, labels came out on every so many
// ticks from the low end: 1600, 2400, 3600. They go on round values now (500, 1000, 2000,
// then other single digits and halves such as 1500), keeping apart as before.
TEST(ChartLayout, TicksOnCompressingScalesLabelRoundHertz)
{
    for (FrequencyScale scale : {FrequencyScale::Erb, FrequencyScale::Mel, FrequencyScale::Bark})
        for (auto [lo, hi] : {std::pair{200.0, 1100.0},
                              {200.0, 4000.0},
                              {600.0, 4200.0},
                              {1500.0, 3800.0},
                              {250.0, 1300.0}})
            for (double length : {120.0, 180.0, 250.0, 400.0, 700.0}) {
                const double a = hzToScale(scale, lo), b = hzToScale(scale, hi);
                const auto position = [&](double v) {
                    return (hzToScale(scale, v) - a) / (b - a) * length;
                };
                const auto wide = [](double v) { return v >= 1000 ? 28.0 : 21.0; };
                const AxisTicks ticks = chooseTicks(lo, hi, 6, position, wide);
                const std::string where = std::to_string(int(scale)) + " " + std::to_string(lo) +
                                          "-" + std::to_string(hi) + " over " +
                                          std::to_string(length);
                EXPECT_GE(ticks.labelCount(), 2) << where;
                std::optional<double> last;
                for (std::size_t k = 0; k < ticks.values.size(); ++k) {
                    if (!ticks.labelled[k])
                        continue;
                    const double hz = ticks.values[k];
                    // Every tick labelled steps evenly by 1, 2 or 5; otherwise each label is
                    // a single digit and a power of ten, or a half between two such.
                    const double digits = hz / std::pow(10.0, std::floor(std::log10(hz)));
                    if (ticks.labelCount() < int(ticks.values.size())) {
                        EXPECT_DOUBLE_EQ(2 * digits, std::round(2 * digits))
                            << hz << " at " << where;
                    }
                    if (last) {
                        EXPECT_GE(position(hz) - position(*last), (wide(hz) + wide(*last)) / 2 + 6)
                            << hz << " at " << where;
                    }
                    last = hz;
                }
            }
}
