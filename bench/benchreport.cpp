// benchreport RESULTS.json...: the budget table of the benchmark results that the bench
// programs wrote with --benchmark_out, one row per piece of work, its median at each size,
// its spread, its cost per token and how it grows.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Work
{
    const char *family; // benchmark name without its size
    const char *title;
    double budgetMs; // at the largest size; 0 for a part without a budget of its own
};

// The budgets hold at 9,998 tokens, the largest file the program reads.
const std::vector<Work> kWork = {
    {"BM_ReadFormantFile", "read a Formant file (reader only)", 2},
    {"BM_OpenDocument", "open: read, fill the grid, sort, vowel numbers", 15},
    {"BM_OpenDocumentFresh", "the same as a fresh process opens (every page new)", 1.5},
    {"BM_PaintChart/F1F2", "paint the F1-F2 chart with ellipses, 800 x 600", 16},
    {"BM_PaintChart/F1F3", "paint the F1-F3 chart with ellipses, 800 x 600", 16},
    {"BM_SaveDocument", "save the table", 5},
    {"BM_SaveBitmap", "Save As Bitmap (draw and write the BMP)", 30},
    {"BM_PrintPdf", "print one chart page to PDF", 300},
    {"BM_TypeAndUndo", "type a cell and Undo it (100,000 rows: 2.6 ms)", 16},
    {"BM_BatchChartProcess", "tessavox-batch chart, file to PNG, whole process", 100},
    {"BM_ParseFormantText", "  part: parsing alone", 0},
    {"BM_FillTable", "  part: filling the table view", 0},
    {"BM_FormatTable", "  part: the saved file's bytes", 0},
    {"BM_WritePng", "the chart's 800 x 600 PNG, into memory", 0.8},
};
const std::vector<int> kSizes = {100, 1000, 9998};

struct Figures
{
    std::optional<double> median; // ms
    std::optional<double> cv;     // fraction
    std::optional<double> peakMb; // the child's peak memory, where the benchmark counts it
};

// The corpus benchmark: our whole stats process against base R on the same file.
constexpr const char *kCorpusOurs = "BM_CorpusStatsProcess";
constexpr const char *kCorpusR = "BM_CorpusStatsR";
const std::vector<int> kCorpusSizes = {100000, 1000000};
constexpr double kCorpusRatio = 10.0;   // R's time over ours, at least
constexpr double kCorpusPeakMb = 200.0; // our peak memory, below

double toMs(double value, const QString &unit)
{
    if (unit == "ns")
        return value / 1e6;
    if (unit == "us")
        return value / 1e3;
    if (unit == "s")
        return value * 1e3;
    return value;
}

// "BM_PaintChart/F1F2/9998/real_time" -> family "BM_PaintChart/F1F2", size 9998.
bool splitRunName(QString name, QString &family, int &size)
{
    if (name.endsWith("/real_time"))
        name.chop(int(qstrlen("/real_time")));
    // "/iterations:1/repeats:3", where a benchmark fixes them, is no part of the name.
    QStringList parts = name.split(QLatin1Char('/'));
    parts.removeIf([](const QString &part) { return part.contains(QLatin1Char(':')); });
    name = parts.join(QLatin1Char('/'));
    const qsizetype slash = name.lastIndexOf('/');
    bool ok = false;
    size = name.mid(slash + 1).toInt(&ok);
    family = name.left(slash);
    return slash > 0 && ok;
}

QString formatMs(std::optional<double> ms)
{
    if (!ms)
        return QStringLiteral("-");
    return *ms < 1 ? QString::number(*ms, 'f', 3) : QString::number(*ms, 'f', *ms < 10 ? 2 : 1);
}

// How the median grows from one size to the next, "x5.8", or "-" where one is missing.
QString growthOf(const Figures &from, const Figures &to)
{
    return from.median && to.median
               ? QStringLiteral("x%1").arg(*to.median / *from.median, 0, 'f', 1)
               : QStringLiteral("-");
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

// The corpus table; returns the number of targets missed (ratio to R, growth, memory).
int reportCorpus(QTextStream &out, const QMap<QString, QMap<int, Figures>> &results)
{
    if (!results.contains(QLatin1String(kCorpusOurs)))
        return 0;
    const auto &ours = results[QLatin1String(kCorpusOurs)];
    const auto r = results.value(QLatin1String(kCorpusR));
    out << "\nCorpus: stats --normalize lobanov --group vowel, whole process, median ms\n";
    const QString header = QStringLiteral("%1 %2 %3 %4 %5")
                               .arg("work", -28)
                               .arg("100,000", 9)
                               .arg("1,000,000", 10)
                               .arg("x10 tokens", 10)
                               .arg("peak MB", 8);
    out << header << "\n" << QString(header.size(), '-') << "\n";
    const auto row = [&out](const char *title, const QMap<int, Figures> &figures) {
        const Figures small = figures.value(kCorpusSizes[0]);
        const Figures large = figures.value(kCorpusSizes[1]);
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(QString::fromLatin1(title), -28)
                   .arg(formatMs(small.median), 9)
                   .arg(formatMs(large.median), 10)
                   .arg(growthOf(small, large), 10)
                   .arg(large.peakMb ? QString::number(*large.peakMb, 'f', 0) : QStringLiteral("-"),
                        8)
            << "\n";
    };
    row("tessavox-batch stats", ours);
    int missed = 0;
    const Figures small = ours.value(kCorpusSizes[0]);
    const Figures large = ours.value(kCorpusSizes[1]);
    if (small.median && large.median && *large.median > 10.5 * *small.median) {
        out << "Growth from 100,000 to 1,000,000 tokens is not linear: MISSED\n";
        ++missed;
    }
    if (large.peakMb && *large.peakMb >= kCorpusPeakMb) {
        out << QStringLiteral("Peak memory %1 MB, budget %2 MB: MISSED\n")
                   .arg(*large.peakMb, 0, 'f', 0)
                   .arg(kCorpusPeakMb);
        ++missed;
    }
    if (r.isEmpty() || !r.value(kCorpusSizes[1]).median) {
        out << "base R: not measured (Rscript missing, or its figures differ; see the "
               "benchmark's output)\n";
        return missed;
    }
    row("base R (corpus_stats.R)", r);
    const double ratio = *r.value(kCorpusSizes[1]).median / large.median.value_or(INFINITY);
    const bool met = ratio >= kCorpusRatio;
    out << QStringLiteral("R's time over ours at 1,000,000: x%1 (target x%2): %3\n")
               .arg(ratio, 0, 'f', 1)
               .arg(kCorpusRatio)
               .arg(verdict(met));
    return missed + (met ? 0 : 1);
}

// Our batch chart process beside base R drawing the same chart; the ratio is reported,
// and counts as missed below the aim of ten times faster.
int reportPeer(QTextStream &out, const QMap<QString, QMap<int, Figures>> &results)
{
    constexpr int kSize = 9998;
    constexpr double kAim = 10.0;
    const auto ours = results.value(QStringLiteral("BM_BatchChartProcess")).value(kSize);
    const auto peer = results.value(QStringLiteral("BM_BatchChartPeerR")).value(kSize);
    if (!ours.median)
        return 0;
    out << "\nChart of 9,998 tokens, whole process, median ms: tessavox-batch chart "
        << formatMs(ours.median);
    if (!peer.median) {
        out << "; base R (peer_chart.R) not measured (Rscript missing)\n";
        return 0;
    }
    const double ratio = *peer.median / *ours.median;
    out << ", base R (peer_chart.R) " << formatMs(peer.median)
        << QStringLiteral(": x%1 faster (aim x%2): %3\n")
               .arg(ratio, 0, 'f', 1)
               .arg(kAim)
               .arg(verdict(ratio >= kAim));
    int missed = ratio >= kAim ? 0 : 1;
    // Praat drawing the same chart from a table: ours should take at most a tenth of it.
    const auto praat = results.value(QStringLiteral("BM_BatchChartPeerPraat")).value(kSize);
    if (!praat.median) {
        out << "Praat (peer_chart.praat) not measured (praat missing)\n";
        return missed;
    }
    const double share = *ours.median / *praat.median;
    out << "Praat (peer_chart.praat) " << formatMs(praat.median)
        << QStringLiteral(": ours takes %1 of its time (aim at most %2): %3\n")
               .arg(share, 0, 'f', 2)
               .arg(1.0 / kAim, 0, 'f', 2)
               .arg(verdict(share <= 1.0 / kAim));
    return missed + (share <= 1.0 / kAim ? 0 : 1);
}

// A 2,000,000-row CSV through whole batch processes, each with a time and a memory budget;
// returns the number missed.
int reportLargeTables(QTextStream &out, const QMap<QString, QMap<int, Figures>> &results)
{
    struct LargeWork
    {
        const char *family;
        const char *title;
        double budgetMs;
        double budgetMb; // 0: none
    };
    static const LargeWork kLarge[] = {
        {"BM_LargeTableSave", "table -o x.csv (read, fill, print, save)", 2000, 500},
        {"BM_LargeTableChart", "chart --plot f1f2 -o x.png", 2000, 500},
        {"BM_LargeTableStats", "stats --normalize lobanov", 1000, 0},
    };
    constexpr int kRows = 2000000;
    if (!results.contains(QLatin1String(kLarge[0].family)))
        return 0;
    out << "\nLarge table: 2,000,000-row CSV, whole process, median of 3\n";
    const QString header = QStringLiteral("%1 %2 %3 %4 %5 %6")
                               .arg("work", -44)
                               .arg("ms", 7)
                               .arg("budget", 7)
                               .arg("peak MB", 8)
                               .arg("budget", 7)
                               .arg("");
    out << header << "\n" << QString(header.size(), '-') << "\n";
    int missed = 0;
    for (const LargeWork &work : kLarge) {
        const Figures figures = results.value(QLatin1String(work.family)).value(kRows);
        const bool timeMet = figures.median && *figures.median <= work.budgetMs;
        const bool memoryMet =
            work.budgetMb <= 0 || (figures.peakMb && *figures.peakMb <= work.budgetMb);
        missed += timeMet && memoryMet ? 0 : 1;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(QString::fromLatin1(work.title), -44)
                   .arg(formatMs(figures.median), 7)
                   .arg(work.budgetMs, 7)
                   .arg(figures.peakMb ? QString::number(*figures.peakMb, 'f', 0)
                                       : QStringLiteral("-"),
                        8)
                   .arg(work.budgetMb > 0 ? QString::number(work.budgetMb) : QStringLiteral(""), 7)
                   .arg(verdict(timeMet && memoryMet))
            << "\n";
    }
    return missed;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextStream out(stdout);
    QMap<QString, QMap<int, Figures>> results;
    QJsonObject context;
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "benchreport: cannot read %s\n", argv[i]);
            return 1;
        }
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        if (context.isEmpty())
            context = root.value("context").toObject();
        for (const QJsonValue &value : root.value("benchmarks").toArray()) {
            const QJsonObject run = value.toObject();
            QString family;
            int size = 0;
            if (run.value("run_type").toString() != "aggregate" ||
                !splitRunName(run.value("run_name").toString(), family, size))
                continue;
            const QString aggregate = run.value("aggregate_name").toString();
            Figures &figures = results[family][size];
            if (aggregate == "median") {
                figures.median =
                    toMs(run.value("real_time").toDouble(), run.value("time_unit").toString());
                if (run.contains("peak_MB"))
                    figures.peakMb = run.value("peak_MB").toDouble();
            } else if (aggregate == "cv")
                figures.cv = run.value("real_time").toDouble();
        }
    }

    out << "\nTessavox budgets: median wall-clock time of 10 repetitions, in ms (cv = spread at "
           "9,998)\nmachine: "
        << context.value("host_name").toString() << ", " << context.value("num_cpus").toInt()
        << " CPUs at " << context.value("mhz_per_cpu").toInt() << " MHz, "
        << context.value("date").toString() << "\n\n";
    const QString header = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                               .arg("work", -50)
                               .arg("budget", 7)
                               .arg("100", 8)
                               .arg("1,000", 8)
                               .arg("9,998", 8)
                               .arg("cv", 5)
                               .arg("us/token", 9)
                               .arg("x10 tokens", 10)
                               .arg("");
    out << header << "\n" << QString(header.size(), '-') << "\n";
    int missed = 0;
    for (const Work &work : kWork) {
        const auto found = results.constFind(QString::fromLatin1(work.family));
        if (found == results.constEnd())
            continue;
        const auto at = [&found](int size) { return found->value(size); };
        const Figures small = at(kSizes[0]);
        const Figures middle = at(kSizes[1]);
        const Figures large = at(kSizes[2]);
        // The cost of one more token, from the two larger sizes, where fixed costs weigh least.
        const QString marginal =
            middle.median && large.median
                ? QString::number(
                      (*large.median - *middle.median) * 1000.0 / (kSizes[2] - kSizes[1]), 'f', 3)
                : QStringLiteral("-");
        const bool budgeted = work.budgetMs > 0 && large.median;
        const bool met = budgeted && *large.median < work.budgetMs;
        missed += budgeted && !met ? 1 : 0;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                   .arg(QString::fromUtf8(work.title), -50)
                   .arg(work.budgetMs > 0 ? QString::number(work.budgetMs) : QStringLiteral(""), 7)
                   .arg(formatMs(small.median), 8)
                   .arg(formatMs(middle.median), 8)
                   .arg(formatMs(large.median), 8)
                   .arg(large.cv ? QStringLiteral("%1%").arg(*large.cv * 100, 0, 'f', 1)
                                 : QStringLiteral("-"),
                        5)
                   .arg(marginal, 9)
                   .arg(growthOf(middle, large), 10)
                   .arg(budgeted ? verdict(met) : QString())
            << "\n";
    }
    out << "\nx10 tokens: time at 9,998 over time at 1,000; linear growth stays at or below "
           "x10.\n";
    missed += reportPeer(out, results);
    missed += reportCorpus(out, results);
    missed += reportLargeTables(out, results);
    out << (missed == 0 ? "Every budget met.\n"
                        : QStringLiteral("%1 budget(s) missed.\n").arg(missed));
    return 0;
}
