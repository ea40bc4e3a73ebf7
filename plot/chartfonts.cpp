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
        // The width is what the axis numbers need: digits run wider than the face's
        // average character, and tick labels set for 7-unit digits would overlap.
        const QString digits = QStringLiteral("0123456789");
        const int natural = QFontMetrics(font).horizontalAdvance(digits);
        if (natural > 0) {
            int stretch = std::clamp(100 * 10 * width / natural, 1, 4000);
            font.setStretch(stretch);
            while (stretch > 1 && QFontMetrics(font).horizontalAdvance(digits) > 10 * width)
                font.setStretch(--stretch);
        }
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

QFont displayFont()
{
    return logicalFont(QStringLiteral("DisplayFont"), 16, 7);
}

} // namespace ChartFonts
