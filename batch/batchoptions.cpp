#include "batch/batchoptions.h"

#include "batch/batchcommand.h"

#include "batch/batchinput.h"
#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"
#include <QRegularExpression>

#include <array>

#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/normalization.h"

QString chartAnalysisUsage()
{
    return QStringLiteral(
        "[--format formant|table] [--speaker COL] [--vowel COL] [--scale S | --normalize M "
        "[--formants F1,F2[,F3]]] [--ellipse KIND] [--color-by COL] [--no-tokens] [--fit]");
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
    static const QStringList options = {"--scale", "--normalize", "--formants", "--ellipse",
                                        "--color-by"};
    return options.contains(option);
}

} // namespace

std::optional<bool> parseReadOption(const QString &option, const QString &value,
                                    TokenFileOptions &open)
{
    if (option == QLatin1String("--format")) {
        open.kind = ParseTabularFileKind(value);
        return open.kind.has_value();
    }
    static const std::array<std::pair<const char *, TabularRole>, 5> columns{{
        {"--speaker", TabularRole::Speaker},
        {"--vowel", TabularRole::Vowel},
        {"--f1", TabularRole::F1},
        {"--f2", TabularRole::F2},
        {"--f3", TabularRole::F3},
    }};
    for (const auto &[name, role] : columns) {
        if (option == QLatin1String(name)) {
            open.columns.column(role) = value;
            return !value.isEmpty();
        }
    }
    return std::nullopt;
}

std::optional<AnalysisArguments> parseAnalysisArguments(const QStringList &args,
                                                        const QStringList &accepted)
{
    AnalysisArguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) && parsed.input.isEmpty()) {
            parsed.input = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString &value = args[++i];
        if (arg == QLatin1String("-o")) {
            parsed.output = value;
        } else if (const auto read = parseReadOption(arg, value, parsed.open)) {
            if (!*read)
                return std::nullopt;
        } else if (accepted.contains(arg) && !parsed.options.contains(arg)) {
            parsed.options.insert(arg, value);
        } else {
            return std::nullopt;
        }
    }
    if (parsed.input.isEmpty())
        return std::nullopt;
    return parsed;
}

std::optional<std::vector<Formant>> parseFormantList(const QString &text)
{
    std::vector<Formant> formants;
    for (const QString &name : text.split(QLatin1Char(','))) {
        const QString trimmed = name.trimmed();
        if (trimmed.size() != 2 || trimmed[0].toUpper() != QLatin1Char('F') ||
            trimmed[1] < QLatin1Char('0') || trimmed[1] > QLatin1Char('5'))
            return std::nullopt;
        formants.push_back(Formant(trimmed[1].unicode() - '0'));
    }
    return formants;
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
        } else if (const auto read = parseReadOption(arg, value, parsed.open)) {
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

std::unique_ptr<BatchInput> openChartInput(const ChartArguments &arguments, const QString &command)
{
    std::unique_ptr<BatchInput> file = BatchInput::open(command, arguments.input, arguments.open);
    if (!file)
        return nullptr;
    const auto refuse = [&](const QString &why) {
        batchErr() << "tessavox-batch " << command << ": " << arguments.input << ": " << why
                   << Qt::endl;
        return nullptr;
    };
    CTessavoxDoc &doc = file->doc();
    const QString column = arguments.analysis.colorColumn;
    if (!column.isEmpty() && doc.tableColumn(column) < 0)
        return refuse(QStringLiteral("the table has no column \"%1\"").arg(column));
    // Rows without F1 or F2 stay, numbered as in the table; the chart leaves them out.
    const TokenTableModel &tokens = doc.tokens();
    const auto drawable = [&tokens](int row) {
        return !tokens.isEmpty(row, TokenTableModel::F1) &&
               tokens.number(row, TokenTableModel::F1) > 0 &&
               !tokens.isEmpty(row, TokenTableModel::F2) &&
               tokens.number(row, TokenTableModel::F2) > 0;
    };
    int drawn = 0;
    for (int row = 0; row < tokens.count(); ++row)
        drawn += drawable(row) ? 1 : 0;
    if (drawn == 0 && doc.isTableDocument())
        return refuse(QStringLiteral("no row has both F1 and F2"));
    AnalysisOptions &analysis = doc.m_analysis;
    analysis = arguments.analysis;
    // Speakers that cannot be normalised are left off the chart: say which and why.
    if (!analysis.isClassic()) {
        const int horizontal =
            arguments.kind == ChartKind::F1F3 ? TokenTableModel::F3 : TokenTableModel::F2;
        for (const QString &message : buildAnalysisChart(doc, horizontal).messages)
            batchErr() << "tessavox-batch " << command << ": " << message << Qt::endl;
    }
    return file;
}

bool applyChartChoices(BatchInput &file, const ChartArguments &arguments, const QString &command)
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
