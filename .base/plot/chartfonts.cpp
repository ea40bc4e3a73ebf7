#include "plot/chartfonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>

#include <algorithm>

namespace ChartFonts {

QFont logicalFont(const QString &face, int height, int width, int weight)
{
    QFont font(face);
    font.setStyleStrategy(QFont::PreferMatch);
    font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    const int requested = std::max(1, height);
    font.setPixelSize(requested);
    // The requested height is the whole line, while a pixel size is the em: shrink the em
    // until the line fits.
    const int line = QFontMetrics(font).height();
    if (line > requested)
        font.setPixelSize(std::max(1, requested * requested / line));
    if (width > 0) {
        const int average = QFontMetrics(font).averageCharWidth();
        if (average > 0)
            font.setStretch(std::clamp(100 * width / average, 1, 4000));
    }
    return font;
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

} // namespace ChartFonts
