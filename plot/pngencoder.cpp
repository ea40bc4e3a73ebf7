#include "plot/pngencoder.h"

#include "plot/rundeflate.h"

#include <QIODevice>

#include <zlib.h>

#include <algorithm>
#include <array>

namespace {

// The most compressed bytes one image data chunk holds; any size would do.
constexpr std::size_t kChunkBytes = std::size_t(1) << 18;

void putBigEndian(uchar *out, quint32 value)
{
    out[0] = uchar(value >> 24);
    out[1] = uchar(value >> 16);
    out[2] = uchar(value >> 8);
    out[3] = uchar(value);
}

} // namespace

bool PngEncoder::writeChunk(const char *type, std::span<const uchar> data)
{
    // Length and type before the data, the checksum of type and data after it: three
    // writes, so that the image data is never copied.
    std::array<uchar, 8> head{};
    putBigEndian(head.data(), quint32(data.size()));
    std::copy(type, type + 4, head.begin() + 4);
    uLong crc = crc32(0, head.data() + 4, 4);
    if (!data.empty()) // zlib starts over on a null pointer
        crc = crc32_z(crc, data.data(), data.size());
    std::array<uchar, 4> tail{};
    putBigEndian(tail.data(), quint32(crc));
    const auto put = [this](const uchar *bytes, qsizetype size) {
        return size == 0 || m_device->write(reinterpret_cast<const char *>(bytes), size) == size;
    };
    return put(head.data(), head.size()) && put(data.data(), qsizetype(data.size())) &&
           put(tail.data(), tail.size());
}

bool PngEncoder::writeHeader(QSize size, Pixels pixels, int dotsPerMeterX, int dotsPerMeterY)
{
    static constexpr std::array<uchar, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (m_device->write(reinterpret_cast<const char *>(kSignature.data()), kSignature.size()) !=
        qint64(kSignature.size()))
        return false;
    // Width, height, eight bits a sample, the colour type, deflate, adaptive filters (one
    // chosen per row), no interlacing.
    std::array<uchar, 13> header{};
    putBigEndian(header.data(), quint32(size.width()));
    putBigEndian(header.data() + 4, quint32(size.height()));
    header[8] = 8;
    header[9] = uchar(pixels);
    if (!writeChunk("IHDR", header))
        return false;
    if (dotsPerMeterX <= 0 && dotsPerMeterY <= 0)
        return true;
    std::array<uchar, 9> resolution{};
    putBigEndian(resolution.data(), quint32(std::max(dotsPerMeterX, 0)));
    putBigEndian(resolution.data() + 4, quint32(std::max(dotsPerMeterY, 0)));
    resolution[8] = 1; // the unit is the metre
    return writeChunk("pHYs", resolution);
}

bool PngEncoder::writePalette(std::span<const QRgb> colours)
{
    std::array<uchar, 3 * 256> rgb{};
    std::array<uchar, 256> alpha{};
    const std::size_t count = std::min<std::size_t>(colours.size(), 256);
    // Opacity is stored up to the last colour that is not opaque; those after it are.
    std::size_t alphaCount = 0;
    for (std::size_t i = 0; i < count; ++i) {
        rgb[3 * i] = uchar(qRed(colours[i]));
        rgb[3 * i + 1] = uchar(qGreen(colours[i]));
        rgb[3 * i + 2] = uchar(qBlue(colours[i]));
        alpha[i] = uchar(qAlpha(colours[i]));
        if (alpha[i] != 255)
            alphaCount = i + 1;
    }
    return writeChunk("PLTE", std::span(rgb).first(3 * count)) &&
           (alphaCount == 0 || writeChunk("tRNS", std::span(alpha).first(alphaCount)));
}

bool PngEncoder::writeScanlines(std::span<const uchar> scanlines)
{
    const std::vector<uchar> compressed = RunDeflate(scanlines);
    // A chunk may not reach 2 GB: large pictures go in several.
    for (std::size_t done = 0; done < compressed.size();) {
        const std::size_t size = std::min(compressed.size() - done, kChunkBytes);
        if (!writeChunk("IDAT", std::span(compressed).subspan(done, size)))
            return false;
        done += size;
    }
    return true;
}

bool PngEncoder::writeEnd()
{
    return writeChunk("IEND", {});
}
