#include "batch/batchoptions.h"

#include "batch/batchcommand.h"

#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"
#include "plot/openeddocument.h"
#include <QHash>
#include <QRegularExpression>

#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/normalization.h"

QString chartAnalysisUsage()
{
    return QStringLiteral(
        "[--format formant|table] [--speaker COL] [--vowel COL] [--scale S | --normalize M "
        "[--formants F1,F2[,F3]]] [--ellipse KIND] [--color-by COL] [--no-tokens] [--fit] "
        "[--aspect fill|equal] [--tokens auto|labels|dots] [--facet COL] [--trajectory] "
        "[--token-trajectories]");
}

namespace {

// One of the analysis options with its value; false when the value is not valid.
bool parseAnalysisOption(ChartArguments &parsed, const QString &option, const QString &value)
{
    AnalysisOptions &a = parsed.analysis;
    if (option == QLatin1String("--scale")) {
        a.scale = value.toLower();
        return parseFrequencyScale(value).has_value();
    }
    if (option == QLatin1String("--normalize")) {
        a.normalization = value.toLower();
        return parseNormalizationMethod(value).has_value();
    }
    if (option == QLatin1String("--formants")) {
        static const QRegularExpression list(QStringLiteral("^[Ff][1-3](,[Ff][1-3])*$"));
        a.formants = value;
        return list.match(value).hasMatch();
    }
    if (option == QLatin1String("--ellipse")) {
        a.ellipse = value.toLower();
        return parseEllipseKind(value).has_value();
    }
    if (option == QLatin1String("--aspect")) {
        a.equalAspect = value == QLatin1String("equal");
        return value == QLatin1String("equal") || value == QLatin1String("fill");
    }
    if (option == QLatin1String("--tokens")) {
        using Marks = AnalysisOptions::TokenMarks;
        const QHash<QString, Marks> marks = {
            {"auto", Marks::Auto}, {"labels", Marks::Labels}, {"dots", Marks::Dots}};
        a.tokenMarks = marks.value(value, Marks::Auto);
        return marks.contains(value);
    }
    if (option == QLatin1String("--facet")) {
        a.facetColumn = value;
        return !value.isEmpty();
    }
    if (option == QLatin1String("--color-by")) {
        if (value.isEmpty())
            return false;
        a.colorBy = value == QLatin1String("vowel")     ? AnalysisOptions::ColorBy::Vowel
                    : value == QLatin1String("speaker") ? AnalysisOptions::ColorBy::Speaker
                                                        : AnalysisOptions::ColorBy::Column;
        a.colorColumn = a.colorBy == AnalysisOptions::ColorBy::Column ? value : QString();
        return true;
    }
    return false;
}

bool isAnalysisOption(const QString &option)
{
    static const QStringList options = {"--scale",    "--normalize", "--formants", "--ellipse",
                                        "--color-by", "--aspect",    "--tokens",   "--facet"};
    return options.contains(option);
}

} // namespace

std::optional<bool> parseReadOption(const QString &option, const QString &value,
                                    std::optional<TabularFileKind> &format,
                                    TabularReadOptions &read)
{
    if (option == QLatin1String("--format")) {
        format = ParseTabularFileKind(value);
        return format.has_value();
    }
    if (option == QLatin1String("--speaker")) {
        read.speakerColumn = value;
        return !value.isEmpty();
    }
    if (option == QLatin1String("--vowel")) {
        read.vowelColumn = value;
        return !value.isEmpty();
    }
    return std::nullopt;
}

std::optional<ChartKind> parseChartKind(const QString &text)
{
    if (text == QLatin1String("f1f2"))
        return ChartKind::F1F2;
    if (text == QLatin1String("f1f3"))
        return ChartKind::F1F3;
    return std::nullopt;
}

std::optional<std::pair<int, QString>> parseLabelChoice(const QString &text)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    bool ok = false;
    const int order = text.left(eq).toInt(&ok);
    if (eq < 0 || !ok || order < 0 || order >= FormantLimits::kOrderLabels)
        return std::nullopt;
    return std::pair{order, text.mid(eq + 1)};
}

std::optional<ChartArguments> parseChartArguments(const QStringList &args, ChartChoices choices,
                                                  const CommandOption &commandOption,
                                                  TablePlot tablePlot)
{
    ChartArguments parsed;
    bool hasKind = false;
    const bool takesChoices = choices == ChartChoices::Taken;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (takesChoices && arg == QLatin1String("--no-ellipse")) {
            parsed.drawEllipse = false;
            continue;
        }
        if (arg == QLatin1String("--no-tokens")) {
            parsed.analysis.showTokens = false;
            continue;
        }
        if (arg == QLatin1String("--fit")) {
            parsed.analysis.fit = true;
            continue;
        }
        if (arg == QLatin1String("--trajectory") || arg == QLatin1String("--token-trajectories")) {
            parsed.analysis.trajectories = true;
            parsed.analysis.tokenTrajectories |= arg == QLatin1String("--token-trajectories");
            continue;
        }
        if (!arg.startsWith(QLatin1Char('-')) && parsed.input.isEmpty()) {
            parsed.input = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString &value = args[++i];
        if (arg == QLatin1String("--plot") && tablePlot == TablePlot::Taken &&
            value == QLatin1String("table")) {
            parsed.table = true;
            hasKind = true;
        } else if (arg == QLatin1String("--plot")) {
            const std::optional<ChartKind> kind = parseChartKind(value);
            if (!kind)
                return std::nullopt;
            parsed.kind = *kind;
            hasKind = true;
        } else if (arg == QLatin1String("-o")) {
            parsed.output = value;
        } else if (takesChoices && arg == QLatin1String("--label")) {
            const auto choice = parseLabelChoice(value);
            if (!choice)
                return std::nullopt;
            parsed.labels.append(*choice);
        } else if (const auto read = parseReadOption(arg, value, parsed.format, parsed.read)) {
            if (!*read)
                return std::nullopt;
        } else if (isAnalysisOption(arg)) {
            if (!parseAnalysisOption(parsed, arg, value))
                return std::nullopt;
        } else if (!commandOption || !commandOption(arg, value)) {
            return std::nullopt;
        }
    }
    if (parsed.input.isEmpty() || parsed.output.isEmpty() || !hasKind)
        return std::nullopt;
    // A scale and a normalisation exclude each other: normalised values have no scale.
    if (!parsed.analysis.normalization.isEmpty() && args.contains(QStringLiteral("--scale")))
        return std::nullopt;
    return parsed;
}

std::unique_ptr<OpenedDocument> openChartInput(const ChartArguments &arguments,
                                               const QString &command)
{
    QString error;
    int leftOut = 0;
    const QString column = arguments.analysis.colorColumn;
    std::unique_ptr<OpenedDocument> file = OpenedDocument::open(
        arguments.input, arguments.format, arguments.read, column, error, leftOut);
    if (!file) {
        if (!error.isEmpty())
            batchErr() << "tessavox-batch " << command << ": " << arguments.input << ": " << error
                       << Qt::endl;
        return nullptr;
    }
    if (leftOut > 0)
        batchErr() << "tessavox-batch " << command << ": " << leftOut
                   << " rows without F1 or F2 left out" << Qt::endl;
    // A printed table shows every row; a chart leaves the excluded ones out.
    if (const int excluded = file->doc().tokens().excludedCount(); excluded > 0 && !arguments.table)
        batchErr() << "tessavox-batch " << command << ": " << excluded
                   << " excluded row(s) left out (the exclude column)" << Qt::endl;
    AnalysisOptions &analysis = file->doc().m_analysis;
    analysis = arguments.analysis;
    const QString facet = analysis.facetColumn;
    if (!facet.isEmpty() && file->doc().tableColumn(facet) < 0 &&
        (facet.compare(QLatin1String("speaker"), Qt::CaseInsensitive) != 0 ||
         !file->doc().tokens().speakerShown())) {
        batchErr() << "tessavox-batch " << command << ": " << arguments.input << ": no column \""
                   << facet << "\" to draw panels by" << Qt::endl;
        return nullptr;
    }
    // Speakers that cannot be normalised are left off the chart: say which and why.
    if (!analysis.isClassic()) {
        const int horizontal =
            arguments.kind == ChartKind::F1F3 ? TokenTableModel::F3 : TokenTableModel::F2;
        for (const QString &message : buildAnalysisChart(file->doc(), horizontal).messages)
            batchErr() << "tessavox-batch " << command << ": " << message << Qt::endl;
    }
    return file;
}

bool applyChartChoices(OpenedDocument &file, const ChartArguments &arguments,
                       const QString &command)
{
    file.doc().m_bDrawEllipse = arguments.drawEllipse;
    for (const auto &[order, text] : arguments.labels) {
        if (!file.chooseLabel(order, text)) {
            batchErr() << "tessavox-batch " << command << ": no token of order " << order
                       << " has the label \"" << text << '"' << Qt::endl;
            return false;
        }
    }
    return true;
}
