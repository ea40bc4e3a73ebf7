#include "plot/bitmapfile.h"

#include "framework/safefile.h"
#include "framework/stringtable.h"

#include <QImage>

#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void putU16(char *at, quint16 value)
{
    at[0] = char(value & 0xFF);
    at[1] = char(value >> 8);
}

void putU32(char *at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

int rowBytes(int bits, int width)
{
    return (bits * width + 31) / 32 * 4;
}

// The image in the raster layout its file depth needs: palette formats stay indexed.
QImage rasterFor(const QImage &image, int depth)
{
    if (depth == 1)
        return image.format() == QImage::Format_Mono ? image
                                                     : image.convertToFormat(QImage::Format_Mono);
    if (depth <= 8) // QImage has no 4-bit raster; 2 to 8 bits share the 8-bit layout
        return image.format() == QImage::Format_Indexed8
                   ? image
                   : image.convertToFormat(QImage::Format_Indexed8);
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

void writeRows(const QImage &raster, int depth, char *out)
{
    const int width = raster.width();
    const int height = raster.height();
    const int stride = rowBytes(depth, width);
    for (int y = 0; y < height; ++y) {
        // Bottom row first.
        const uchar *source = raster.constScanLine(height - 1 - y);
        char *row = out + qsizetype(y) * stride;
        if (depth == 24) {
            const auto *pixels = reinterpret_cast<const QRgb *>(source);
            for (int x = 0; x < width; ++x) {
                row[3 * x] = char(qBlue(pixels[x]));
                row[3 * x + 1] = char(qGreen(pixels[x]));
                row[3 * x + 2] = char(qRed(pixels[x]));
            }
        } else if (depth == 8) {
            std::memcpy(row, source, size_t(width));
        } else {
            // Format_Mono is most significant bit first, as the file wants.
            std::memcpy(row, source, size_t((width + 7) / 8));
            if (width % 8)
                row[width / 8] = char(row[width / 8] & (0xFF << (8 - width % 8)));
        }
    }
}

} // namespace

BitmapExtent BitmapExtentForScreen(int widthPixels, double widthMm, int heightPixels,
                                   double heightMm)
{
    if (widthMm <= 0 || heightMm <= 0)
        return {};
    return {static_cast<int>(widthPixels / widthMm * 175.0),
            static_cast<int>(heightPixels / heightMm * 225.0)};
}

int BitmapFileDepth(int rasterBits)
{
    if (rasterBits <= 1)
        return 1;
    if (rasterBits <= 4)
        return 4;
    if (rasterBits <= 8)
        return 8;
    return 24;
}

QByteArray EncodeBitmapFile(const QImage &image)
{
    if (image.isNull())
        return {};
    const int depth = image.depth() > 1 && image.depth() <= 8 ? 8 : BitmapFileDepth(image.depth());
    const QImage raster = rasterFor(image, depth);
    const int colours = depth == 24 ? 0 : 1 << depth;
    const qint64 imageSize = qint64(rowBytes(depth, raster.width())) * raster.height();
    const qint64 offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
    if (offBits + imageSize > std::numeric_limits<qint32>::max())
        return {};

    QByteArray file(qsizetype(offBits + imageSize), '\0');
    char *at = file.data();
    at[0] = 'B';
    at[1] = 'M';
    putU32(at + 2, quint32(offBits + imageSize));
    putU32(at + 10, quint32(offBits));
    putU32(at + 14, kInfoHeaderSize);
    putU32(at + 18, quint32(raster.width()));
    putU32(at + 22, quint32(raster.height()));
    putU16(at + 26, 1);
    putU16(at + 28, quint16(depth));
    putU32(at + 34, quint32(imageSize));
    putU32(at + 46, quint32(colours));

    const QList<QRgb> palette = raster.colorTable();
    for (int i = 0; i < colours && i < palette.size(); ++i) {
        char *entry = at + kFileHeaderSize + kInfoHeaderSize + 4 * i;
        entry[0] = char(qBlue(palette[i]));
        entry[1] = char(qGreen(palette[i]));
        entry[2] = char(qRed(palette[i]));
    }
    writeRows(raster, depth, at + offBits);
    return file;
}

int WriteBitmapFile(const QImage &image, const QString &path)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return IDS_ERR_BITMAP_INFO;
    QByteArray bytes;
    try {
        bytes = EncodeBitmapFile(image);
    } catch (const std::bad_alloc &) {
        return IDS_ERR_BITMAP_MEMORY;
    }
    if (bytes.isEmpty())
        return IDS_ERR_BITMAP_CONVERT;

    return WriteFileSafely(path, bytes).isError() ? IDS_ERR_BITMAP_OPEN : 0;
}
