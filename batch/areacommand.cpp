// tessavox-batch area FILE: per speaker the area of the vowel space spanned by the vowel
// means in the F2-F1 plane: the convex hull, and a polygon through named vowels.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/commandline.h"

#include "analysis/frequencyscale.h"
#include "analysis/statisticstable.h"
#include "analysis/vowelspace.h"

namespace {

const QString kUsage = QStringLiteral("area FILE [--format formant|table] [--speaker COL] [--vowel "
                                      "COL] [--f1 COL] [--f2 COL] [--f3 COL] "
                                      "[--scale S] [--polygon V1,V2,...] [-o OUT]");

int runArea(const QStringList &args)
{
    const QString command = QStringLiteral("area");
    QString input, output;
    TokenFileOptions open;
    std::optional<FrequencyScale> chosenScale;
    std::optional<QStringList> polygonNames;
    CommandLine line;
    line.input(input)
        .output(output)
        .reading(open)
        .value<FrequencyScale>("--scale", chosenScale, parseFrequencyScale)
        .value<QStringList>("--polygon", polygonNames, [](const QString &text) {
            const QStringList names = text.split(QLatin1Char(','));
            return names.size() >= 3 ? std::optional(names) : std::nullopt;
        });
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    const FrequencyScale scale = chosenScale.value_or(FrequencyScale::Bark);

    const std::unique_ptr<BatchInput> file = BatchInput::openTokens(command, input, open);
    if (!file)
        return 1;
    const TokenColumns tokens = file->tokenColumns({Formant::F1, Formant::F2});
    for (Formant f : {Formant::F1, Formant::F2}) {
        if (!tokens.hasFormant(f)) {
            reportAnalysis(command,
                           QStringLiteral("the file has no %1 column").arg(formantName(f)));
            return 1;
        }
    }
    std::vector<double> x(tokens.size()), y(tokens.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        x[i] = hzToScale(scale, tokens.values(Formant::F2)[i]);
        y[i] = hzToScale(scale, tokens.values(Formant::F1)[i]);
    }
    // A polygon vowel that no token has still gets a name, so the message can say which.
    QStringList vowelNames = tokens.vowelNames;
    std::vector<int> polygon;
    for (const QString &name : polygonNames.value_or(QStringList())) {
        qsizetype index = vowelNames.indexOf(name);
        if (index < 0) {
            index = vowelNames.size();
            vowelNames << name;
        }
        polygon.push_back(int(index));
    }
    const VowelSpaceResult result =
        vowelSpaceAreas(tokens.withoutExcluded(tokens.speaker), tokens.speakerNames, tokens.vowel,
                        vowelNames, x, y, polygon);
    QByteArray out("speaker\tn_vowels\thull_area\tpolygon_area\n");
    for (std::size_t s = 0; s < result.speakers.size(); ++s) {
        const SpeakerVowelSpace &space = result.speakers[s];
        out.append(tableField(tokens.speakerNames[qsizetype(s)], '\t'));
        out.append('\t').append(QByteArray::number(space.vowelCount)).append('\t');
        if (space.hullArea)
            appendNumber(out, *space.hullArea);
        out.append('\t');
        if (space.polygonArea)
            appendNumber(out, *space.polygonArea);
        out.append('\n');
    }
    for (const QString &message : result.messages)
        reportAnalysis(command, message);
    if (result.skipped > 0)
        reportAnalysis(command,
                       QStringLiteral("%1 token(s) skipped: F1 or F2 missing").arg(result.skipped));
    return writeAnalysisOutput(output, out, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("area"), kUsage,
     QStringLiteral("per speaker: vowels with a mean, the convex hull's area of the vowel "
                    "means (shoelace) and the area of the polygon through the named vowels; "
                    "x = F2, y = F1 in scale S (default bark, see stats)"),
     runArea, false}};

} // namespace
