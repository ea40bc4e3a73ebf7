#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// Windows bitmap (.BMP) files of chart images, written byte for byte by our own code:
// 14-byte file header, 40-byte info header, colour table, bottom-up rows padded to 32 bits.

// Pixel size of the exported image: 175 mm by 225 mm at the screen's pixel density.
struct BitmapExtent
{
    int width = 0;
    int height = 0;
};
BitmapExtent BitmapExtentForScreen(int widthPixels, double widthMm, int heightPixels,
                                   double heightMm);

// Bits per pixel in the file for a raster of `rasterBits` bits per pixel: 1, 4, 8 or 24.
int BitmapFileDepth(int rasterBits);

// The whole file for `image`; empty when the image cannot be described (null image).
// Rasters of 8 bits or fewer keep their palette as the colour table; deeper ones become
// 24-bit files without a colour table.
QByteArray EncodeBitmapFile(const QImage &image);

// Writes `image` to `path`. Returns 0, or the string id naming the failure
// (IDS_ERR_BITMAP_INFO ... IDS_ERR_BITMAP_OPEN). The file is written under a temporary
// name and renamed into place, so a failure never leaves a partial file or harms an
// existing one.
int WriteBitmapFile(const QImage &image, const QString &path);
