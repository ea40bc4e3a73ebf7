// tessavox-batch chart FILE --plot f1f2|f1f3 ...: the chart window's picture as a PNG.

#include "batchcommand.h"

#include "plotview.h"
#include "plotviewf1f2.h"
#include "plotviewf1f3.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <memory>
#include <optional>

namespace {

const QString kUsage = QStringLiteral(
    "chart FILE --plot f1f2|f1f3 [--size WxH] [--no-ellipse] [--f1max N] [--f2max N] "
    "[--f3max N] [--label ORDER=TEXT]... -o OUT.png");

constexpr int kMaxSide = 8192;
constexpr int kColSymbol = 3;
constexpr int kColOrder = 4;

struct ChartOptions
{
    QString input;
    QString output;
    QString plot;
    int width = 800;
    int height = 600;
    bool drawEllipse = true;
    std::optional<int> f1Max;
    std::optional<int> f2Max;
    std::optional<int> f3Max;
    QList<std::pair<int, QString>> labels;
};

// Range bounds are accepted as the options dialog accepts them.
std::optional<int> parseBound(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > 10000)
        return std::nullopt;
    return value;
}

std::optional<ChartOptions> parseArgs(const QStringList &args)
{
    ChartOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--no-ellipse") {
            options.drawEllipse = false;
        } else if (!arg.startsWith('-') && options.input.isEmpty()) {
            options.input = arg;
        } else if (!hasValue) {
            return std::nullopt;
        } else if (arg == "--plot") {
            options.plot = args[++i];
        } else if (arg == "-o") {
            options.output = args[++i];
        } else if (arg == "--size") {
            const QStringList parts = args[++i].split('x');
            bool okW = false;
            bool okH = false;
            if (parts.size() != 2)
                return std::nullopt;
            options.width = parts[0].toInt(&okW);
            options.height = parts[1].toInt(&okH);
            if (!okW || !okH || options.width < 1 || options.height < 1 ||
                options.width > kMaxSide || options.height > kMaxSide)
                return std::nullopt;
        } else if (arg == "--f1max" || arg == "--f2max" || arg == "--f3max") {
            const std::optional<int> bound = parseBound(args[++i]);
            if (!bound)
                return std::nullopt;
            (arg == "--f1max"   ? options.f1Max
             : arg == "--f2max" ? options.f2Max
                                : options.f3Max) = bound;
        } else if (arg == "--label") {
            const QString value = args[++i];
            const qsizetype eq = value.indexOf('=');
            bool ok = false;
            const int order = value.left(eq).toInt(&ok);
            if (eq < 0 || !ok || order < 0 || order >= FormantLimits::kOrderLabels)
                return std::nullopt;
            options.labels.append({order, value.mid(eq + 1)});
        } else {
            return std::nullopt;
        }
    }
    if (options.input.isEmpty() || options.output.isEmpty() ||
        (options.plot != "f1f2" && options.plot != "f1f3"))
        return std::nullopt;
    return options;
}

// Stores a label choice as the Label Selector would: the position of the first row of
// that order, in table order, whose symbol is `text`.
bool chooseLabel(CTessavoxDoc &doc, const CellSource &table, int order, const QString &text)
{
    int position = 0;
    for (int row = 0; row < doc.m_nTokenCount; ++row) {
        if (table.GetCellInt(row, kColOrder) != order)
            continue;
        if (table.GetCellText(row, kColSymbol) == text) {
            doc.m_nOrderLabel[std::size_t(order)] = position;
            doc.m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
}

int runChart(const QStringList &args)
{
    const std::optional<ChartOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);

    auto doc = std::make_unique<CTessavoxDoc>();
    if (!doc->OnOpenDocument(options->input))
        return 1;
    doc->setPathName(options->input);
    // The table fills, sorts and numbers itself as when the file opens in the program.
    auto table = std::make_unique<CTessavoxFormView>();
    doc->addView(table.get());
    table->OnInitialUpdate();

    doc->m_bDrawEllipse = options->drawEllipse;
    doc->m_nF1Max = options->f1Max.value_or(doc->m_nF1Max);
    doc->m_nF2Max = options->f2Max.value_or(doc->m_nF2Max);
    doc->m_nF3Max = options->f3Max.value_or(doc->m_nF3Max);
    for (const auto &[order, text] : options->labels) {
        if (!chooseLabel(*doc, *table, order, text)) {
            batchErr() << "tessavox-batch chart: no token of order " << order << " has the label \""
                       << text << '"' << Qt::endl;
            return 1;
        }
    }

    std::unique_ptr<PlotView> chart;
    if (options->plot == "f1f2")
        chart = std::make_unique<CPlotViewF1F2>();
    else
        chart = std::make_unique<CPlotViewF1F3>();
    doc->addView(chart.get());
    chart->resize(options->width, options->height);
    chart->OnInitialUpdate();

    // A chart window is cleared to white before it paints.
    QImage image(options->width, options->height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart->OnDraw(painter);
    }
    chart.reset();
    table.reset();

    // Written under a temporary name and renamed, so a failure leaves no partial file.
    QSaveFile file(options->output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        batchErr() << "tessavox-batch chart: cannot write " << options->output << ": "
                   << file.errorString() << Qt::endl;
        return 1;
    }
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("chart"), kUsage,
     QStringLiteral("draw the F1-F2 or F1-F3 chart of a file as its window shows it, as PNG"),
     runChart}};

} // namespace
