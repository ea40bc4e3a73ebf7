#include "analysis/vowelspace.h"

#include <algorithm>
#include <cmath>

namespace {

double cross(const PlanePoint &o, const PlanePoint &a, const PlanePoint &b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

} // namespace

double polygonArea(std::span<const PlanePoint> points)
{
    if (points.size() < 3)
        return 0.0;
    double twice = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PlanePoint &a = points[i];
        const PlanePoint &b = points[(i + 1) % points.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2.0;
}

double convexHullArea(std::vector<PlanePoint> points)
{
    if (points.size() < 3)
        return 0.0;
    std::sort(points.begin(), points.end(), [](const PlanePoint &a, const PlanePoint &b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    // Monotone chain: the lower hull left to right, then the upper hull back.
    std::vector<PlanePoint> hull(2 * points.size());
    std::size_t k = 0;
    for (const PlanePoint &p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0.0)
            --k;
        hull[k++] = p;
    }
    const std::size_t lower = k + 1;
    for (auto it = points.rbegin() + 1; it != points.rend(); ++it) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], *it) <= 0.0)
            --k;
        hull[k++] = *it;
    }
    hull.resize(k - 1); // the last point is the first again
    return polygonArea(hull);
}

VowelSpaceResult vowelSpaceAreas(std::span<const int> speaker, const QStringList &speakerNames,
                                 std::span<const int> vowel, const QStringList &vowelNames,
                                 std::span<const double> x, std::span<const double> y,
                                 std::span<const int> polygon)
{
    VowelSpaceResult result;
    const auto speakers = std::size_t(speakerNames.size());
    const auto vowels = std::size_t(vowelNames.size());
    struct Sum
    {
        int n = 0;
        double x = 0.0, y = 0.0;
    };
    // Speaker-major cells; a vowel space has few vowels, so this stays small.
    std::vector<Sum> cells(speakers * vowels);
    const std::size_t n = std::min({speaker.size(), vowel.size(), x.size(), y.size()});
    for (std::size_t i = 0; i < n; ++i) {
        if (speaker[i] < 0 || std::size_t(speaker[i]) >= speakers || vowel[i] < 0 ||
            std::size_t(vowel[i]) >= vowels)
            continue;
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
            ++result.skipped;
            continue;
        }
        Sum &cell = cells[std::size_t(speaker[i]) * vowels + std::size_t(vowel[i])];
        ++cell.n;
        cell.x += x[i];
        cell.y += y[i];
    }
    result.speakers.resize(speakers);
    for (std::size_t s = 0; s < speakers; ++s) {
        const QString &name = speakerNames[qsizetype(s)];
        std::vector<PlanePoint> means;
        std::vector<int> meanOf(vowels, -1);
        for (std::size_t v = 0; v < vowels; ++v) {
            const Sum &cell = cells[s * vowels + v];
            if (cell.n == 0)
                continue;
            meanOf[v] = int(means.size());
            means.push_back({cell.x / cell.n, cell.y / cell.n});
        }
        SpeakerVowelSpace &space = result.speakers[s];
        space.vowelCount = int(means.size());
        if (means.size() >= 3)
            space.hullArea = convexHullArea(means);
        else
            result.messages << QStringLiteral("speaker \"%1\": %2 vowel(s); an area needs at "
                                              "least 3")
                                   .arg(name)
                                   .arg(means.size());
        if (polygon.empty())
            continue;
        std::vector<PlanePoint> corners;
        for (int v : polygon) {
            if (v < 0 || std::size_t(v) >= vowels || meanOf[std::size_t(v)] < 0) {
                const QString vowelName =
                    v >= 0 && std::size_t(v) < vowels ? vowelNames[v] : QStringLiteral("?");
                result.messages << QStringLiteral("speaker \"%1\": no \"%2\" for the polygon")
                                       .arg(name, vowelName);
                corners.clear();
                break;
            }
            corners.push_back(means[std::size_t(meanOf[std::size_t(v)])]);
        }
        if (corners.size() >= 3)
            space.polygonArea = polygonArea(corners);
        else if (!corners.empty())
            result.messages << QStringLiteral("speaker \"%1\": a polygon needs at least 3 "
                                              "vowels")
                                   .arg(name);
    }
    return result;
}
