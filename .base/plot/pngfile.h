#pragma once

class QIODevice;
class QImage;

// PNG files of chart images. A chart has few colours (white, black, red and the greys of
// smoothed text), so when an image has at most 256 distinct colours it is written as an
// exact palette image: the same pixels in a file about half the size, encoded several
// times faster. Other images are written in true colour at a fast compression level.

// The palette image with exactly `image`'s pixels, or a null image when `image` has more
// than 256 colours (or is null).
QImage ExactPaletteImage(const QImage &image);

// Writes `image` as PNG to `device`; false when the device refuses the bytes.
bool WritePngImage(const QImage &image, QIODevice *device);
