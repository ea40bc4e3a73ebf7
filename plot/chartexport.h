#pragma once

#include "framework/fileerror.h"
#include "plot/chartrenderer.h"

#include <QSize>
#include <QString>

#include <optional>

class CTessavoxDoc;

// Writes a document's chart as a picture file, as its window draws it: PNG or BMP
// (pixels), SVG or PDF (vector, text as text). The batch tool's chart command and the
// chart windows' File > Export Chart... both write through here.

enum class ChartFileFormat { Png, Bmp, Svg, Pdf };

// The format an output's extension names (.png, .bmp, .svg, .pdf, any case).
std::optional<ChartFileFormat> chartFileFormatOf(const QString &path);

struct ChartExportSettings
{
    QString path;
    ChartFileFormat format = ChartFileFormat::Png;
    QSize size{800, 600}; // pixels for PNG and BMP, points for SVG and PDF
    // PNG only: dots per inch. The chart is laid out as at 96 dpi and drawn finer, so a
    // 300-dpi picture carries the same chart as the window, sharper; 0 = the window's own
    // pixels, no resolution recorded.
    int dotsPerInch = 0;
    QString title; // the vector formats' document title
    // The part of the chart to show: a window's zoomed view, or (the default) the whole.
    ChartZoom zoom;
};

// Writes the file; what went wrong, if anything. Everything but BMP (which has its own safe
// writer) goes through a temporary file that is renamed into place, so a failure leaves
// no partial file and keeps an existing one.
FileError WriteChartFile(const CTessavoxDoc &doc, ChartKind kind,
                         const ChartExportSettings &settings);
