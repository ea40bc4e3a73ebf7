#include "batch/batchhelp.h"

#include "batch/batchcommand.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

struct OptionHelp
{
    const char *option; // as the usage lines spell it, with its value
    const char *text;
};

// One line for every option any command takes. An option is listed only when some
// command's usage names it, so the help never offers what this build lacks.
const OptionHelp kOptions[] = {
    {"--plot f1f2|f1f3", "the chart: F1 against F2, or F1 against F3"},
    {"-o OUT", "the file to write; for chart its extension picks PNG, BMP, SVG or PDF. "
               "Commands that print tables write to standard output without it"},
    {"--format formant|table",
     "read FILE as a Formant file or as a table, whatever its name; without it, names ending "
     "in .csv or .tsv are tables, and so is a file of any other name whose first line names "
     "an F1 and an F2 column above something other than Formant token lines"},
    {"--speaker COL", "the table column that names the speaker (found by itself when named "
                      "speaker, talker, subject, participant or spk, also with id, name or "
                      "code after it)"},
    {"--speaker NAME", "measure: the Speaker of every token (default: the label of a tier named "
                       "speaker, else the recording's base name)"},
    {"--textgrid F", "measure: the TextGrid of the one recording (default: the .TextGrid of the "
                     "same name beside each recording)"},
    {"--tier NAME", "measure: the tier whose labelled intervals are the tokens (default: the "
                    "first interval tier named vowel(s), phone(s) or segment(s), else the "
                    "first interval tier)"},
    {"--match RE", "measure: only intervals whose trimmed label matches this regular expression"},
    {"--channel N", "measure: the channel to read, from 1 (default 1)"},
    {"--ceiling HZ|auto", "measure: the LPC formant ceiling in Hz, or auto (the default) to "
                          "choose it per token"},
    {"--ceiling-range LO:HI", "measure: the range auto chooses in (default 4500:7000)"},
    {"--points P,...", "measure: percentages of each interval to measure (default 50); each "
                       "point p other than 50 adds the columns F1_p F2_p F3_p"},
    {"--vowel COL", "the table column that names the vowel"},
    {"--f1 COL", "the table column that holds F1 (found by itself when named F1, F1_Hz, "
                 "\"F1 (Hz)\", or as the 50% point of F1_20, F1_50, F1_80)"},
    {"--f2 COL", "the table column that holds F2"},
    {"--f3 COL", "the table column that holds F3"},
    {"--size WxH", "the picture's width and height in pixels (default 800x600)"},
    {"--dpmm X[,Y]", "pixels per millimetre across and down (default: the screen's)"},
    {"--page a4|letter", "the paper (default a4)"},
    {"--no-ellipse", "draw no ellipses around the vowel groups"},
    {"--f1max N", "the F1 axis maximum in hertz, as in the options dialog"},
    {"--f2max N", "the F2 axis maximum in hertz"},
    {"--f3max N", "the F3 axis maximum in hertz"},
    {"--label ORDER=TEXT",
     "the label of the vowel group ORDER whose tokens carry different symbols, as chosen "
     "in the Label Selector; may be given once for each group"},
    {"--scale S", "the frequency scale: bark, bark-traunmuller, bark-schroeder, erb, mel or hz"},
    {"--normalize M",
     "normalise each speaker's formants first: lobanov, lobanov-balanced, nearey1, "
     "nearey1-balanced, nearey2, nearey2-balanced, watt-fabricius, watt-fabricius-modified "
     "or gerstman"},
    {"--method M", "the normalisation method, one of those of --normalize"},
    {"--formants F1,F2[,F3]",
     "the formants to normalise (default F1,F2,F3); for overlap and outliers, the formants the "
     "figures are computed on (default F1,F2)"},
    {"--ellipse KIND",
     "the ellipse around each vowel: sd2-population, sd1, sd2, coverage95, data95 or mean95"},
    {"--group COL[,COL...]", "the columns whose values make a group (default: the vowel)"},
    {"--polygon V1,V2,...", "also the area of the polygon through these vowels, in this order"},
    {"--by COL", "the column whose values make a group (default: the speaker; without one, "
                 "the whole file)"},
    {"--pairs V1:V2,...|all", "the vowel pairs to compare in each group (default: all)"},
    {"--level P",
     "the chi-square level beyond which a token is an outlier, between 0 and 1 (default 0.95)"},
    {"--color-by COL", "one colour for each value of this column: vowel, speaker or any column"},
    {"--no-tokens", "draw only the means, labels and ellipses, not each token"},
    {"--fit", "fit the axes to the data instead of the fixed maxima"},
    {"--aspect fill|equal",
     "a fitted chart fills the picture both ways (fill, the default) or keeps one unit as "
     "long down as across (equal)"},
    {"--tokens auto|labels|dots",
     "tokens as their labels or as small translucent dots; auto (the default) takes dots "
     "beyond 2,000 tokens"},
    {"--facet COL", "one panel for each value of this column (or speaker), on shared scales"},
    {"--trajectory",
     "each vowel's mean path through the point columns (F1_20, F1_50, F1_80 and the same for "
     "F2), with an arrowhead at the last point"},
    {"--token-trajectories", "as --trajectory, and each token's own path, thin and faded"},
    {"--dpi N",
     "the PNG's resolution, 72 to 1200: the chart is laid out in points and drawn finer, so "
     "text keeps its size in print"},
};

QString optionName(const char *option)
{
    return QString::fromLatin1(option).section(QLatin1Char(' '), 0, 0);
}

bool anyUsageNames(const QString &option)
{
    // The name must stand on its own: --f1max is not --f1maxima, -o is not --ellipse.
    const QRegularExpression pattern(
        QStringLiteral("(^|[\\s\\[|])%1($|[\\s\\]|=])").arg(QRegularExpression::escape(option)));
    for (const BatchCommand &command : batchCommands()) {
        if (pattern.match(command.usage).hasMatch())
            return true;
    }
    return false;
}

// The text in lines that fit a terminal, each after `indent` blanks but the first, which
// goes where the caller's line stands.
QString wrapped(const QString &text, int indent)
{
    constexpr int kWidth = 80;
    QString result;
    int column = indent;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > kWidth) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            result += QLatin1Char(' ');
            ++column;
        }
        result += word;
        column += int(word.size());
    }
    return result;
}

void printOption(QTextStream &stream, const QString &option, const QString &text)
{
    // help2man reads an option line as the option, two or more blanks, then its text.
    constexpr int kTextColumn = 26;
    QString line = QStringLiteral("  ") + option;
    line += line.size() + 2 <= kTextColumn ? QString(kTextColumn - line.size(), QLatin1Char(' '))
                                           : QStringLiteral("\n") + QString(kTextColumn, ' ');
    stream << line << wrapped(text, kTextColumn) << '\n';
}

} // namespace

void printBatchHelp(QTextStream &stream)
{
    stream << "Usage: tessavox-batch COMMAND FILE [OPTION]...\n"
              "  or:  tessavox-batch --help | --version\n"
              "Opens files as Tessavox does and writes their tokens, tables and charts\n"
              "without a window or a display.\n\n"
              "Commands:\n";
    for (const BatchCommand &command : batchCommands()) {
        stream << "  " << command.usage << "\n      " << wrapped(command.summary, 6) << '\n';
        // The values an analysis command takes, each with its formula and source.
        if (!command.details.isEmpty())
            stream << "      " << command.details << '\n';
    }

    stream << "\nOptions:\n";
    for (const OptionHelp &help : kOptions) {
        if (anyUsageNames(optionName(help.option)))
            printOption(stream, QString::fromLatin1(help.option), QString::fromUtf8(help.text));
    }
    printOption(stream, QStringLiteral("-h, --help"), QStringLiteral("show this help and exit"));
    printOption(stream, QStringLiteral("--version"), QStringLiteral("show the version and exit"));

    stream << "\nExit status:\n"
              "  0  success\n"
              "  1  the work failed; the message is on standard error\n"
              "  2  the command line is wrong; nothing was written\n"
              "\nExamples:\n"
              "  tessavox-batch records vowels.txt\n"
              "  tessavox-batch chart vowels.txt --plot f1f2 -o vowels.png\n"
              "  tessavox-batch chart vowels.txt --plot f1f3 --size 900x700 -o vowels.pdf\n"
              "  tessavox-batch print vowels.txt --plot f1f2 --page a4 -o vowels-page.pdf\n"
              "  tessavox-batch measure rec/*.wav --tier phone --points 20,50,80 -o tokens.tsv\n";
    stream.flush();
}
