#include "batch/batchoptions.h"

#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/normalization.h"
#include "analysis/tokencolumns.h"
#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"
#include "plot/fontpreload.h"

#include <QHash>

#include <functional>

QString readingUsage()
{
    return QStringLiteral(
        "[--format formant|table] [--speaker COL] [--vowel COL] [--f1 COL] [--f2 COL] [--f3 COL]");
}

QString chartAnalysisUsage()
{
    return readingUsage() + QStringLiteral(" [--scale S | --normalize M [--formants F1,F2[,F3]]] "
                                           "[--ellipse KIND] [--color-by COL] [--no-tokens] "
                                           "[--fit] [--aspect fill|equal] "
                                           "[--tokens auto|labels|dots] [--facet COL] "
                                           "[--trajectory] [--token-trajectories]");
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

namespace {

// A name the analysis module knows, kept as the text the document stores.
std::function<bool(const QString &)> storeKnown(QString &target,
                                                std::function<bool(const QString &)> known)
{
    return [&target, known = std::move(known)](const QString &text) {
        target = text.toLower();
        return known(text);
    };
}

} // namespace

void declareChartArguments(CommandLine &line, ChartArguments &arguments, ChartChoices choices,
                           TablePlot tablePlot)
{
    AnalysisOptions &a = arguments.analysis;
    line.input(arguments.input).output(arguments.output, true).reading(arguments.open);
    line.repeated("--plot", [&arguments, tablePlot](const QString &text) {
        if (tablePlot == TablePlot::Taken && text == QLatin1String("table")) {
            arguments.table = true;
            return true;
        }
        const std::optional<ChartKind> kind = parseChartKind(text);
        arguments.kind = kind.value_or(arguments.kind);
        return kind.has_value();
    });
    if (choices == ChartChoices::Taken) {
        line.flag("--no-ellipse", arguments.drawEllipse, false);
        line.repeated("--label", [&arguments](const QString &text) {
            const auto choice = parseLabelChoice(text);
            if (choice)
                arguments.labels.append(*choice);
            return choice.has_value();
        });
    }
    line.repeated("--scale", storeKnown(a.scale, [](const QString &text) {
                      return parseFrequencyScale(text).has_value();
                  }));
    line.repeated("--normalize", storeKnown(a.normalization, [](const QString &text) {
                      return parseNormalizationMethod(text).has_value();
                  }));
    line.repeated("--ellipse", storeKnown(a.ellipse, [](const QString &text) {
                      return parseEllipseKind(text).has_value();
                  }));
    line.repeated("--formants", [&a](const QString &text) {
        a.formants = text;
        return parseFormantList(text).has_value();
    });
    line.repeated("--color-by", [&a](const QString &text) {
        if (text.isEmpty())
            return false;
        a.colorBy = text == QLatin1String("vowel")     ? AnalysisOptions::ColorBy::Vowel
                    : text == QLatin1String("speaker") ? AnalysisOptions::ColorBy::Speaker
                                                       : AnalysisOptions::ColorBy::Column;
        a.colorColumn = a.colorBy == AnalysisOptions::ColorBy::Column ? text : QString();
        return true;
    });
    line.flag("--no-tokens", a.showTokens, false);
    line.flag("--fit", a.fit);
    line.repeated("--aspect", [&a](const QString &text) {
        a.equalAspect = text == QLatin1String("equal");
        return text == QLatin1String("equal") || text == QLatin1String("fill");
    });
    line.repeated("--tokens", [&a](const QString &text) {
        using Marks = AnalysisOptions::TokenMarks;
        const QHash<QString, Marks> marks = {
            {"auto", Marks::Auto}, {"labels", Marks::Labels}, {"dots", Marks::Dots}};
        a.tokenMarks = marks.value(text, Marks::Auto);
        return marks.contains(text);
    });
    line.text("--facet", a.facetColumn);
    line.flag("--trajectory", a.trajectories);
    line.flag("--token-trajectories", a.tokenTrajectories);
}

bool checkChartArguments(const CommandLine &line, const ChartArguments &arguments, QString &error)
{
    if (!line.given("--plot")) {
        error = QStringLiteral("--plot is missing");
        return false;
    }
    // A scale and a normalisation exclude each other: normalised values have no scale.
    if (line.given("--scale") && line.given("--normalize")) {
        error = QStringLiteral("--scale and --normalize exclude each other");
        return false;
    }
    // A chart's rows hold F1 to F3.
    for (Formant f :
         parseFormantList(arguments.analysis.formants).value_or(std::vector<Formant>{})) {
        if (f < Formant::F1 || f > Formant::F3) {
            error = QStringLiteral("--formants for a chart takes F1, F2 and F3 only");
            return false;
        }
    }
    return true;
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
    // A printed table shows every row; a chart leaves the excluded ones out.
    if (const int excluded = tokens.excludedCount(); excluded > 0 && !arguments.table)
        batchErr() << "tessavox-batch " << command << ": " << excluded
                   << " excluded row(s) left out (the exclude column)" << Qt::endl;
    AnalysisOptions &analysis = doc.m_analysis;
    analysis = arguments.analysis;
    // Each token's path comes with the vowels' mean paths.
    analysis.trajectories = analysis.trajectories || analysis.tokenTrajectories;
    const QString facet = analysis.facetColumn;
    if (!facet.isEmpty() && doc.tableColumn(facet) < 0 &&
        (facet.compare(QLatin1String("speaker"), Qt::CaseInsensitive) != 0 ||
         !tokens.speakerShown())) {
        batchErr() << "tessavox-batch " << command << ": " << arguments.input << ": no column \""
                   << facet << "\" to draw panels by" << Qt::endl;
        return nullptr;
    }
    // Speakers that cannot be normalised are left off the chart: say which and why.
    if (!analysis.isClassic()) {
        const int horizontal =
            arguments.kind == ChartKind::F1F3 ? TokenTableModel::F3 : TokenTableModel::F2;
        for (const QString &message : buildAnalysisChart(doc, horizontal).messages)
            batchErr() << "tessavox-batch " << command << ": " << message << Qt::endl;
    }
    // The fonts were being set up while the file was read; drawing starts now.
    FontPreload::wait();
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
