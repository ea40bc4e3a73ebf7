#pragma once

class QIODevice;
class QImage;

// PNG files of chart images. A chart has few colours (white, black, red and the greys of
// smoothed text), so when an image has at most 256 distinct colours it is written as an
// exact palette image: the same pixels in a file about half the size, written several
// times faster. Other images are written in true colour (with alpha when they have it).
// Either way the compression is the quick kind that suits long runs of one colour
// (rundeflate.h), and the file states the resolution the image was drawn for.

// The palette image with exactly `image`'s pixels, or a null image when `image` has more
// than 256 colours (or is null).
QImage ExactPaletteImage(const QImage &image);

// Writes `image` as PNG to `device`; false when the device refuses the bytes, when the
// image is null or too large for memory. After false the device holds no usable file.
bool WritePngImage(const QImage &image, QIODevice *device);
