#include "batchoptions.h"

#include "formantrecord.h"

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
