#include "plot/chartfonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// What a request for a face at a line height, digit width and weight came to.
struct Sizing
{
    QString face;
    int height = 0;
    int width = 0;
    int weight = 0;
    int pixelSize = 0;
    std::optional<int> stretch;
};

QFont sized(const QString &face, int weight, int pixelSize, std::optional<int> stretch)
{
    QFont font(face);
    font.setStyleStrategy(QFont::PreferMatch);
    font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setPixelSize(pixelSize);
    if (stretch)
        font.setStretch(*stretch);
    return font;
}

Sizing measure(const QString &face, int height, int width, int weight)
{
    Sizing result{face, height, width, weight, std::max(1, height), {}};
    QFont font = sized(face, weight, result.pixelSize, {});
    // The requested height is the whole line, while a pixel size is the em: shrink the em
    // until the line fits.
    const int line = QFontMetrics(font).height();
    if (line > result.pixelSize) {
        result.pixelSize = std::max(1, result.pixelSize * result.pixelSize / line);
        font.setPixelSize(result.pixelSize);
    }
    if (width > 0) {
        // The width is what the axis numbers need: digits run wider than the face's
        // average character, and tick labels set for 7-unit digits would overlap.
        const QString digits = QStringLiteral("0123456789");
        const int natural = QFontMetrics(font).horizontalAdvance(digits);
        if (natural > 0) {
            int stretch = std::clamp(100 * 10 * width / natural, 1, 4000);
            font.setStretch(stretch);
            while (stretch > 1 && QFontMetrics(font).horizontalAdvance(digits) > 10 * width)
                font.setStretch(--stretch);
            result.stretch = stretch;
        }
    }
    return result;
}

// Measuring loads a font for each size tried, the dearest step of a first chart: each
// request is measured once, by whichever thread asks first (fonts may be set up ahead).
std::mutex g_sizingsMutex;
std::vector<Sizing> g_sizings;

} // namespace

namespace ChartFonts {

QFont logicalFont(const QString &face, int height, int width, int weight)
{
    const std::lock_guard lock(g_sizingsMutex);
    auto known = std::find_if(g_sizings.begin(), g_sizings.end(), [&](const Sizing &s) {
        return s.face == face && s.height == height && s.width == width && s.weight == weight;
    });
    if (known == g_sizings.end()) {
        g_sizings.push_back(measure(face, height, width, weight));
        known = g_sizings.end() - 1;
    }
    return sized(face, weight, known->pixelSize, known->stretch);
}

QFont defaultGuiFont(int height, int weight)
{
    const QFont gui = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return logicalFont(gui.family(), height, 0, weight);
}

QFont deviceDefaultFont(const QPaintDevice *device)
{
    QFont font = QGuiApplication::font();
    if (font.pixelSize() > 0)
        return font;
    const int dpi = device ? device->logicalDpiY() : 96;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPixelSize(std::max(1, int(points * dpi / 72.0 + 0.5)));
    return font;
}

QFont displayFont()
{
    return logicalFont(QStringLiteral("DisplayFont"), 16, 7);
}

} // namespace ChartFonts
