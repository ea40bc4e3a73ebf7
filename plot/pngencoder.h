#pragma once

#include <QRgb>
#include <QSize>
#include <QtGlobal>

#include <span>

class QIODevice;

// Writes one PNG file to a device, chunk by chunk: signature, header, resolution, palette,
// the scanlines deflated into image data, end. The caller lays the scanlines out as the file
// holds them (a filter byte, then the row's bytes); the encoder only frames and compresses
// them. The device is not owned. Every write is checked: once the device refuses bytes a call
// returns false and the file is to be thrown away. Throws std::bad_alloc when memory runs out.
class PngEncoder
{
public:
    // The pixel layouts written, numbered as the file's colour types; eight bits a sample.
    enum class Pixels : quint8 { Rgb = 2, Palette = 3, Rgba = 6 };

    explicit PngEncoder(QIODevice *device) : m_device(device) {}

    // The signature, the header and the resolution in dots per metre.
    bool writeHeader(QSize size, Pixels pixels, int dotsPerMeterX, int dotsPerMeterY);
    // The palette, with the colours' opacity when any is not opaque.
    bool writePalette(std::span<const QRgb> colours);
    // Every scanline of the image at once, compressed into the image data.
    bool writeScanlines(std::span<const uchar> scanlines);
    bool writeEnd();

private:
    bool writeChunk(const char *type, std::span<const uchar> data);

    QIODevice *m_device; // not owned
};
