#pragma once

#include <QFont>
#include <QString>

class QPaintDevice;

// Fonts of the charts, asked for by face name and cell size in device units; font
// matching picks whatever installed face comes closest. Every font returned is sized in
// pixels, so text measures the same on any device it is drawn to.
namespace ChartFonts {

// A font whose line (ascent + descent) is about `height` units and whose digits are at
// most `width` units wide; width 0 keeps the face's own proportions,
// weight 0 means normal and 700 bold. Measured once a process, from any thread.
QFont logicalFont(const QString &face, int height, int width = 0, int weight = 0);

// Line height, in units, of the bold vowel label at a group's mean.
constexpr int kGroupLabelHeight = 28;

// The chart window's captions and tick labels.
QFont displayFont();

// The program's default GUI face at the given line height and weight.
QFont defaultGuiFont(int height, int weight = 0);

// What a freshly made device draws text in: the application font, at the device's
// resolution.
QFont deviceDefaultFont(const QPaintDevice *device);

} // namespace ChartFonts
