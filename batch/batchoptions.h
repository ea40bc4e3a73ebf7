#pragma once

#include "batch/commandline.h"
#include "document/analysisoptions.h"
#include "document/tokenfile.h"
#include "plot/chartrenderer.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class BatchInput;

// What the chart commands (chart, bitmap, print) share: their arguments, declared on the
// one command-line parser, and how they open their input.

// "f1f2" or "f1f3" as given to --plot.
std::optional<ChartKind> parseChartKind(const QString &text);
// ORDER=TEXT as given to --label, with ORDER an order that can carry a label.
std::optional<std::pair<int, QString>> parseLabelChoice(const QString &text);

// What every chart command is told: FILE, --plot and -o, how to read FILE, the analysis
// options, and where the command draws a chart as its window does, --no-ellipse and
// --label ORDER=TEXT.
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
    // --format, --speaker, --vowel, --f1, --f2, --f3
    TokenFileOptions open;
};

enum class ChartChoices { Taken, Refused };
enum class TablePlot { Refused, Taken };

// Declares the shared chart options on `line`, bound to `arguments`; the command adds its
// own before parsing.
void declareChartArguments(CommandLine &line, ChartArguments &arguments, ChartChoices choices,
                           TablePlot tablePlot = TablePlot::Refused);
// What the parser cannot tell option by option: --plot given, not both --scale and
// --normalize, --formants within F1 to F3. False with `error` set.
bool checkChartArguments(const CommandLine &line, const ChartArguments &arguments, QString &error);

// The usage text of the options every chart command takes for reading and analysis.
QString chartAnalysisUsage();
// The usage text of the reading options every command takes.
QString readingUsage();

// Opens the input as the arguments say, its rows filled as its table window fills them.
// Null with the message on standard error when it cannot be read.
std::unique_ptr<BatchInput> openChartInput(const ChartArguments &arguments, const QString &command);

// Applies --no-ellipse and the --label choices to the opened file. False (with the
// message on standard error) when a label matches no token of its order.
bool applyChartChoices(BatchInput &file, const ChartArguments &arguments, const QString &command);
