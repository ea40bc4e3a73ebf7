#include "plot/chartpalette.h"

#include <algorithm>
#include <array>

namespace {

// Okabe & Ito's eight colours (2008), chosen to stay distinct under protanopia,
// deuteranopia and tritanopia; the usual qualitative choice in published figures. Their
// yellow is left out: on white it cannot carry text or thin lines. Black comes last so
// that coloured groups stand apart from the black axes.
constexpr std::array<QRgb, 7> kColours = {
    0xFF0072B2, // blue
    0xFFD55E00, // vermillion
    0xFF009E73, // bluish green
    0xFFCC79A7, // reddish purple
    0xFFE69F00, // orange
    0xFF56B4E9, // sky blue
    0xFF000000, // black
};

} // namespace

namespace ChartPalette {

int size()
{
    return int(kColours.size());
}

QColor colour(int index)
{
    if (index < 0)
        return Qt::black;
    // More groups than colours: each further round of the palette is darker, so that
    // neighbouring vowels of a ten-vowel chart still differ.
    const QColor base = QColor::fromRgba(kColours[std::size_t(index) % kColours.size()]);
    const int round = index / int(kColours.size());
    return round == 0 ? base : base.darker(100 + 70 * std::min(round, 3));
}

} // namespace ChartPalette
