#include "batch/batchoptions.h"

#include "batch/batchcommand.h"
#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "plot/openeddocument.h"

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
        } else if (!commandOption || !commandOption(arg, value)) {
            return std::nullopt;
        }
    }
    if (parsed.input.isEmpty() || parsed.output.isEmpty() || !hasKind)
        return std::nullopt;
    return parsed;
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
