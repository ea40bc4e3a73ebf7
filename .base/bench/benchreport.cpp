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
    {"BM_PaintChart/F1F2", "paint the F1-F2 chart with ellipses, 800 x 600", 16},
    {"BM_PaintChart/F1F3", "paint the F1-F3 chart with ellipses, 800 x 600", 16},
    {"BM_SaveDocument", "save the table", 5},
    {"BM_SaveBitmap", "Save As Bitmap (draw and write the BMP)", 30},
    {"BM_PrintPdf", "print one chart page to PDF", 300},
    {"BM_BatchChartProcess", "tessavox-batch chart, file to PNG, whole process", 100},
    {"BM_ParseFormantText", "  part: parsing alone", 0},
    {"BM_FillTable", "  part: filling the table view", 0},
    {"BM_FormatTable", "  part: the saved file's bytes", 0},
};
const std::vector<int> kSizes = {100, 1000, 9998};

struct Figures
{
    std::optional<double> median; // ms
    std::optional<double> cv;     // fraction
};

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
            if (aggregate == "median")
                figures.median =
                    toMs(run.value("real_time").toDouble(), run.value("time_unit").toString());
            else if (aggregate == "cv")
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
        QString marginal = QStringLiteral("-");
        QString growth = QStringLiteral("-");
        if (middle.median && large.median) {
            // The cost of one more token, from the two larger sizes, where fixed costs
            // weigh least.
            marginal = QString::number(
                (*large.median - *middle.median) * 1000.0 / (kSizes[2] - kSizes[1]), 'f', 3);
            growth = QStringLiteral("x%1").arg(*large.median / *middle.median, 0, 'f', 1);
        }
        QString verdict;
        if (work.budgetMs > 0 && large.median) {
            const bool met = *large.median < work.budgetMs;
            missed += met ? 0 : 1;
            verdict = met ? QStringLiteral("met") : QStringLiteral("MISSED");
        }
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
                   .arg(growth, 10)
                   .arg(verdict)
            << "\n";
    }
    out << "\nx10 tokens: time at 9,998 over time at 1,000; linear growth stays at or below "
           "x10.\n";
    out << (missed == 0 ? "Every budget met.\n"
                        : QStringLiteral("%1 budget(s) missed.\n").arg(missed));
    return 0;
}
