#pragma once

#include "document/analysisoptions.h"
#include "document/tokenfile.h"
#include "plot/chartrenderer.h"

#include "analysis/tokencolumns.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class BatchInput;

// Option values shared by the chart commands of tessavox-batch.

// "f1f2" or "f1f3" as given to --plot.
std::optional<ChartKind> parseChartKind(const QString &text);
// ORDER=TEXT as given to --label, with ORDER an order that can carry a label.
std::optional<std::pair<int, QString>> parseLabelChoice(const QString &text);

// What every chart command is told: FILE, --plot and -o, and where the command draws a
// chart as its window does, --no-ellipse and --label ORDER=TEXT.
struct ChartArguments
{
    QString input;
    QString output;
    ChartKind kind = ChartKind::F1F2;
    bool table = false; // --plot table, where the command takes it: the data table
    bool drawEllipse = true;
    QList<std::pair<int, QString>> labels;
    // --scale, --normalize, --formants, --ellipse, --color-by, --no-tokens, --fit
    AnalysisOptions analysis;
    // --format, --speaker, --vowel, --f1, --f2, --f3: how the input is read
    TokenFileOptions open;
};

// --format, --speaker, --vowel, --f1, --f2 and --f3, which say how FILE is read, for every
// command: nullopt when `option` is none of them, else whether its value is valid.
std::optional<bool> parseReadOption(const QString &option, const QString &value,
                                    TokenFileOptions &open);

// The usage text of the options every chart command takes for drawing with analysis.
QString chartAnalysisUsage();

// A command's own option with its value; false when the option or the value is not valid.
using CommandOption = std::function<bool(const QString &option, const QString &value)>;

enum class ChartChoices { Taken, Refused };
enum class TablePlot { Refused, Taken };

// Parses `args`; nullopt on any usage error. Options other than the shared ones go to
// `commandOption`.
std::optional<ChartArguments> parseChartArguments(const QStringList &args, ChartChoices choices,
                                                  const CommandOption &commandOption,
                                                  TablePlot tablePlot = TablePlot::Refused);

// Opens the input as the arguments say: a Formant file, or a table whose rows become the
// chart's tokens. Null with the message on standard error when it cannot be read.
std::unique_ptr<BatchInput> openChartInput(const ChartArguments &arguments, const QString &command);

// Applies --no-ellipse and the --label choices to the opened file. False (with the
// message on standard error) when a label matches no token of its order.
bool applyChartChoices(BatchInput &file, const ChartArguments &arguments, const QString &command);

// FILE, -o OUT, the reading options, and the command's own options with values: what the
// analysis commands (normalize, stats, area) are told.
struct AnalysisArguments
{
    QString input;
    QString output; // empty: standard output
    TokenFileOptions open;
    QHash<QString, QString> options; // e.g. "--method" -> "lobanov"
};

// nullopt on a usage error: an option not in `accepted`, a missing value or FILE.
std::optional<AnalysisArguments> parseAnalysisArguments(const QStringList &args,
                                                        const QStringList &accepted);

// "F1,F2,F3" as formants; nullopt for anything else.
std::optional<std::vector<Formant>> parseFormantList(const QString &text);
