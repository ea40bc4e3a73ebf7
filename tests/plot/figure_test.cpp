// Charts for publication: group labels above the tokens, tokens kept inside the plot, the
// legend of a chart coloured by speaker, panels, and pictures that are the same at any
// resolution.

#include "analysis/frequencyscale.h"
#include "faketable.h"
#include "openedfile.h"
#include "plot/analysischart.h"
#include "plot/chartexport.h"
#include "plot/chartfonts.h"
#include "plot/chartpalette.h"
#include "plot/chartrenderer.h"
#include "testfiles.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace {

QImage draw(ChartRenderer &renderer, const CTessavoxDoc &doc, QSize size = {800, 600})
{
    QImage image = blankImage(size.width(), size.height());
    QPainter painter(&image);
    std::array<QRect, 1000> hits{};
    renderer.DrawPlot(painter, doc, {0, 0, size.width(), size.height()}, 1,
                      ChartFonts::displayFont(), hits);
    return image;
}

// Rows of `vowels` vowels, `speakers` speakers and `each` tokens of each vowel per
// speaker, spread about a vowel's place.
std::vector<TokenTableModel::Row> spokenRows(int vowels, int speakers, int each, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> spread(0.0, 1.0);
    std::vector<TokenTableModel::Row> rows;
    for (int v = 0; v < vowels; ++v)
        for (int s = 0; s < speakers; ++s)
            for (int t = 0; t < each; ++t) {
                TokenTableModel::Row row;
                row.numbers = {int(300 + 90 * v + 30 * spread(random)),
                               int(2300 - 250 * v + 80 * spread(random)), 2800, v + 1};
                row.symbol = QString(QChar(u'a' + v));
                row.speaker = QStringLiteral("s%1").arg(s + 1);
                rows.push_back(row);
            }
    return rows;
}

struct SpokenDocument
{
    explicit SpokenDocument(const std::vector<TokenTableModel::Row> &rows)
    {
        TokenTableModel &tokens = data.doc->tokens();
        tokens.beginBulkChange();
        tokens.setSpeakerShown(true);
        for (const TokenTableModel::Row &row : rows)
            tokens.insertRowAt(tokens.count(), row);
        tokens.endBulkChange();
        data.doc->m_nTokenCount = tokens.count();
    }
    FakeDocument data;
};

} // namespace

// Group labels lie above every token: whatever the tokens, each label's glyphs and their
// halo are the same pixels as on a chart without tokens. Many tokens become dots unless
// labels were asked for; and no token is drawn outside the plot.
TEST(ReadableGroups, LabelsHaloedAboveTokensDotsForCrowdsTokensClipped)
{
    std::vector<FakeRow> rows;
    for (int g = 0; g < 2; ++g)
        for (int i = 0; i < 60; ++i)
            rows.push_back({400 + 300 * g + (i % 8) * 12, 1900 - 600 * g + (i / 8) * 40, 2800,
                            QStringLiteral("W"), g + 1});
    // Far beyond the display ranges: outside the plot.
    rows.push_back({4000, 6000, 6500, QStringLiteral("W"), 3});
    FakeDocument data(rows);
    CTessavoxDoc &doc = *data.doc;
    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    ChartRenderer renderer(ChartKind::F1F2);
    const QImage with = draw(renderer, doc);
    const ChartLayoutRecord layout = renderer.lastLayout();
    EXPECT_FALSE(layout.tokenDots);
    doc.m_analysis.showTokens = false;
    const QImage without = draw(renderer, doc);
    ASSERT_EQ(layout.groupLabels.size(), 2u);
    for (std::size_t g = 0; g < layout.groupLabels.size(); ++g) {
        const QRect box = layout.groupLabels[g];
        const QRgb colour = ChartPalette::colour(int(g)).rgb();
        int glyph = 0;
        int changed = 0;
        for (int y = box.top() + 1; y < box.bottom(); ++y)
            for (int x = box.left() + 1; x < box.right(); ++x) {
                // Inside a stroke of the bold label (a thin ellipse line is none): the pixel
                // and its neighbours, the halo's reach, show no token.
                int solid = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        solid += without.pixel(x + dx, y + dy) == colour;
                if (solid < 6)
                    continue;
                ++glyph;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        changed += with.pixel(x + dx, y + dy) != without.pixel(x + dx, y + dy);
            }
        EXPECT_GT(glyph, 20);
        // At most a smoothed pixel here and there at the halo's rim.
        EXPECT_LE(changed, glyph / 50) << g;
    }
    // The token far out is left out of the picture, not drawn over the axes' text.
    const QColor tokenColour = ChartPalette::colour(2);
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (!layout.plotArea.contains(x, y)) {
                ASSERT_NE(with.pixelColor(x, y), tokenColour) << x << "," << y;
            }
        }
    }

    doc.m_analysis.showTokens = true;
    std::vector<FakeRow> crowd;
    for (int i = 0; i < 2100; ++i)
        crowd.push_back({300 + i % 500, 1000 + i % 1300, 2800, QStringLiteral("a"), 1 + i % 3});
    FakeDocument many(crowd);
    many.doc->m_analysis.fit = true;
    draw(renderer, *many.doc);
    EXPECT_TRUE(renderer.lastLayout().tokenDots);
    many.doc->m_analysis.tokenMarks = AnalysisOptions::TokenMarks::Labels;
    draw(renderer, *many.doc);
    EXPECT_FALSE(renderer.lastLayout().tokenDots);
}

// Colour by speaker: a legend that covers no token or mean, inside the plot where a corner
// is free and beside it where none is. Each vowel keeps its mean: per speaker when every
// speaker has 3 of its tokens, else one over all of them.
TEST(ChartLegend, CoversNoDataAndVowelsKeepTheirSummaries)
{
    ChartRenderer renderer(ChartKind::F1F2);
    for (const auto &[speakers, each, fit] :
         {std::tuple{3, 4, true}, {3, 2, true}, {4, 5, false}, {12, 1, true}}) {
        SpokenDocument spoken(spokenRows(5, speakers, each, 7u + std::uint32_t(each)));
        CTessavoxDoc &doc = *spoken.data.doc;
        doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Speaker;
        doc.m_analysis.fit = fit;
        draw(renderer, doc);
        const ChartLayoutRecord &layout = renderer.lastLayout();
        const QString where = QStringLiteral("%1 speakers, %2 each").arg(speakers).arg(each);
        ASSERT_TRUE(layout.legend.isValid()) << where.toStdString();
        const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
        for (std::size_t r = 0; r < chart.x.size(); ++r) {
            const QPointF p(layout.mapping.x(chart.x[r]), layout.mapping.y(chart.y[r]));
            EXPECT_FALSE(QRectF(layout.legend).contains(p)) << where.toStdString() << " row " << r;
        }
        for (const QPoint &mean : layout.means)
            EXPECT_FALSE(layout.legend.contains(mean)) << where.toStdString();
        for (const QRect &label : layout.groupLabels)
            EXPECT_FALSE(layout.legend.intersects(label)) << where.toStdString();
        EXPECT_EQ(layout.means.size(), std::size_t(each >= 3 ? 5 * speakers : 5))
            << where.toStdString();
        // More speakers than colours: the chart says so and points to panels.
        EXPECT_EQ(chart.messages.join(' ').contains("facets"), speakers > ChartPalette::size());
    }

    // Data in every corner: the legend moves beside the plot.
    std::vector<TokenTableModel::Row> rows = spokenRows(2, 2, 3, 3u);
    int order = 9;
    for (auto [f1, f2] : {std::pair{250, 3000}, {250, 700}, {1000, 3000}, {1000, 700}}) {
        TokenTableModel::Row corner = rows.front();
        corner.numbers = {f1, f2, 2800, order++};
        rows.push_back(corner);
    }
    SpokenDocument spread(rows);
    spread.data.doc->m_analysis.colorBy = AnalysisOptions::ColorBy::Speaker;
    spread.data.doc->m_analysis.fit = true;
    draw(renderer, *spread.data.doc);
    EXPECT_FALSE(renderer.lastLayout().legend.intersects(renderer.lastLayout().plotArea));
}

// One panel per value of a column: panels of one size (shared scales), each with only its
// own tokens' groups, and one legend for all.
TEST(ChartPanels, OnePanelPerValueOnSharedScales)
{
    TestFiles files;
    QByteArray csv = "speaker,sex,vowel,F1,F2\n";
    for (int s = 0; s < 4; ++s)
        for (int t = 0; t < 3; ++t)
            for (auto [v, f1, f2] : {std::tuple{"i", 300, 2300}, {"a", 750, 1250}})
                csv += QStringLiteral("s%1,%2,%3,%4,%5\n")
                           .arg(s)
                           .arg(s % 2 ? "female" : "male", v)
                           .arg(f1 + 40 * s + 7 * t)
                           .arg(f2 + 60 * s - 9 * t)
                           .toUtf8();
    const QString path = files.write("panels.csv", csv);
    OpenedFile file;
    ASSERT_TRUE(file.open(path));
    CTessavoxDoc &doc = file.doc;
    doc.m_analysis.facetColumn = QStringLiteral("sex");
    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Speaker;
    ChartRenderer renderer(ChartKind::F1F2);
    draw(renderer, doc, {1200, 600});
    const ChartLayoutRecord &layout = renderer.lastLayout();
    ASSERT_EQ(layout.panels.size(), 2u);
    // Shared scales: panels of one size, give or take the pixel a split leaves over.
    EXPECT_NEAR(layout.panels[0].width(), layout.panels[1].width(), 2);
    EXPECT_NEAR(layout.panels[0].height(), layout.panels[1].height(), 2);
    EXPECT_FALSE(layout.panels[0].intersects(layout.panels[1]));
    // Two speakers a panel with 3 tokens of each vowel: 4 means in each.
    ASSERT_EQ(layout.means.size(), 8u);
    for (std::size_t i = 0; i < layout.means.size(); ++i)
        EXPECT_TRUE(layout.panels[i / 4].contains(layout.means[i])) << i;
    EXPECT_TRUE(layout.legend.isValid());
    for (const QRect &panel : layout.panels)
        EXPECT_FALSE(layout.legend.intersects(panel));

    // Narrow panels: each panel's name stays clear of its axis caption.
    doc.m_analysis.normalization = QStringLiteral("lobanov");
    for (QSize size : {QSize(1200, 600), QSize(600, 400), QSize(500, 300)}) {
        draw(renderer, doc, size);
        const ChartLayoutRecord &narrow = renderer.lastLayout();
        ASSERT_EQ(narrow.panelTitles.size(), 2u);
        ASSERT_EQ(narrow.horizontalCaptions.size(), 2u);
        for (std::size_t p = 0; p < 2; ++p)
            EXPECT_FALSE(narrow.panelTitles[p].intersects(narrow.horizontalCaptions[p]))
                << size.width() << ' ' << p;
    }
}

// Text, marks and lines are sized in points: the same chart at three times the pixels and
// three times the resolution, scaled down, is the smaller picture.
TEST(ChartExport, APictureIsTheSameAtAnyResolution)
{
    TestFiles files;
    OpenedFile file;
    ASSERT_TRUE(file.open(QStringLiteral(TESSAVOX_EXAMPLES "/peterson-barney-men.txt")));
    CTessavoxDoc &doc = file.doc;
    for (bool analysis : {false, true}) {
        doc.m_analysis.fit = analysis;
        doc.m_analysis.colorBy =
            analysis ? AnalysisOptions::ColorBy::Vowel : AnalysisOptions::ColorBy::None;
        ChartExportSettings fine{
            files.path("fine.png"), ChartFileFormat::Png, {1800, 1200}, 300, "t", {}};
        ChartExportSettings coarse{
            files.path("coarse.png"), ChartFileFormat::Png, {600, 400}, 100, "t", {}};
        ASSERT_FALSE(WriteChartFile(doc, ChartKind::F1F2, fine).isError());
        ASSERT_FALSE(WriteChartFile(doc, ChartKind::F1F2, coarse).isError());
        const QImage small = QImage(coarse.path).convertToFormat(QImage::Format_RGB32);
        const QImage reduced =
            QImage(fine.path)
                .scaled(600, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
        long difference = 0;
        long ink = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x) {
                difference += std::abs(qGray(small.pixel(x, y)) - qGray(reduced.pixel(x, y)));
                ink += 255 - qGray(small.pixel(x, y));
            }
        // What differs is smoothing at the edges, a small part of all the ink.
        EXPECT_LT(double(difference) / double(ink), 0.35) << analysis;
        EXPECT_GT(ink, 100000) << analysis;
    }
}

// Point columns make trajectories: each vowel's mean path through its points, in the
// chart's scale, with an arrowhead at the last one; a table without them says so.
TEST(ChartTrajectories, MeanPathsThroughThePointColumns)
{
    TestFiles files;
    QByteArray csv = "vowel,F1,F2,F1_20,F1_50,F1_80,F2_20,F2_50,F2_80\n";
    for (int t = 0; t < 3; ++t) {
        csv += QStringLiteral("ai,%1,1500,%2,%1,%3,1200,1500,%4\n")
                   .arg(600 + t * 10)
                   .arg(750 + t * 10)
                   .arg(350 + t * 10)
                   .arg(2000 + t * 30)
                   .toUtf8();
        csv += QStringLiteral("i,%1,2300,%1,%1,,2300,2300,\n").arg(300 + t * 10).toUtf8();
    }
    // One token of a vowel, as one speaker's recording gives: too few for a mean, yet its path
    // is the vowel's trajectory.
    csv += "u,350,900,380,350,330,1100,900,800\n";
    const QString path = files.write("glides.csv", csv);
    OpenedFile file;
    ASSERT_TRUE(file.open(path));
    CTessavoxDoc &doc = file.doc;
    doc.m_analysis.trajectories = true;
    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
    ASSERT_EQ(chart.groupPath.size(), 3u);
    for (std::size_t g = 0; g < 3; ++g) {
        const std::vector<QPointF> &mean = chart.groupPath[g];
        if (chart.groups[g].firstLabel == "u") {
            ASSERT_EQ(mean.size(), 3u);
            EXPECT_NEAR(mean[2].x(), hzToScale(FrequencyScale::Bark, 800), 1e-9);
        } else if (chart.groups[g].firstLabel == "ai") {
            // The mean of the tokens' F1 at 20% in Bark; three points, the last the F2 rise.
            const auto bark = [](double hz) { return hzToScale(FrequencyScale::Bark, hz); };
            ASSERT_EQ(mean.size(), 3u);
            EXPECT_NEAR(mean[0].y(), (bark(750) + bark(760) + bark(770)) / 3, 1e-9);
            EXPECT_NEAR(mean[2].x(), (bark(2000) + bark(2030) + bark(2060)) / 3, 1e-9);
        } else {
            // The 80% point was not measured: the path ends at 50%.
            EXPECT_EQ(mean.size(), 2u);
        }
    }
    ChartRenderer renderer(ChartKind::F1F2);
    doc.m_analysis.showTokens = false;
    doc.m_bDrawEllipse = true;
    const QImage image = draw(renderer, doc);
    const ChartLayoutRecord &layout = renderer.lastLayout();
    std::size_t ai = 0;
    while (chart.groups[ai].firstLabel != "ai")
        ++ai;
    const QPointF tip(layout.mapping.x(chart.groupPath[ai][2].x()),
                      layout.mapping.y(chart.groupPath[ai][2].y()));
    int arrow = 0;
    const QColor colour = ChartPalette::colour(chart.groups[ai].colour);
    for (int y = int(tip.y()) - 6; y <= int(tip.y()) + 6; ++y)
        for (int x = int(tip.x()) - 6; x <= int(tip.x()) + 6; ++x)
            arrow += image.pixelColor(x, y) == colour;
    EXPECT_GT(arrow, 8);

    FakeDocument plain({{300, 2300, 2900, "i", 1}, {310, 2250, 2900, "i", 1}});
    plain.doc->m_analysis.trajectories = true;
    EXPECT_TRUE(buildAnalysisChart(*plain.doc, TokenTableModel::F2)
                    .messages.join(' ')
                    .contains("point columns"));
}
