#include "measure/measurementtable.h"

#include <cmath>

namespace {

const QStringList kLeading = {QStringLiteral("File"),  QStringLiteral("Speaker"),
                              QStringLiteral("Vowel"), QStringLiteral("Start"),
                              QStringLiteral("End"),   QStringLiteral("Duration")};
const QStringList kFormants = {QStringLiteral("F1"),     QStringLiteral("F2"), QStringLiteral("F3"),
                               QStringLiteral("B1"),     QStringLiteral("B2"), QStringLiteral("B3"),
                               QStringLiteral("Ceiling")};

QString pointColumn(int formant, double point)
{
    return QStringLiteral("F%1_%2").arg(formant + 1).arg(PointName(point));
}

bool isFixedName(const QString &name, const MeasurementResult &result)
{
    const auto same = [&name](const QString &fixed) {
        return fixed.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
    };
    if (std::any_of(kLeading.begin(), kLeading.end(), same) ||
        std::any_of(kFormants.begin(), kFormants.end(), same))
        return true;
    for (double point : result.points) {
        for (int f = 0; f < 3; ++f) {
            if (same(pointColumn(f, point)))
                return true;
        }
    }
    return false;
}

// RFC 4180: a field holding the separator, a quote or a line end is quoted, quotes doubled.
QByteArray field(const QString &text, char separator)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(separator) || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

QByteArray number(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    return QByteArray::number(value, 'f', decimals);
}

} // namespace

QStringList MeasurementTableHeader(const MeasurementResult &result)
{
    QStringList header = kLeading;
    for (const QString &tier : result.contextTiers) {
        const QString name = tier.trimmed().isEmpty() ? QStringLiteral("tier") : tier;
        header << (isFixedName(name, result) ? name + QStringLiteral("_tier") : name);
    }
    header << kFormants;
    for (double point : result.points) {
        if (point != 50) {
            for (int f = 0; f < 3; ++f)
                header << pointColumn(f, point);
        }
    }
    return header;
}

QByteArray FormatMeasurementTable(const MeasurementResult &result, char separator)
{
    QByteArray text;
    const QStringList header = MeasurementTableHeader(result);
    for (qsizetype i = 0; i < header.size(); ++i)
        text += (i > 0 ? QByteArray(1, separator) : QByteArray()) + field(header[i], separator);
    text += '\n';
    const auto fifty = std::find(result.points.begin(), result.points.end(), 50.0);
    const std::size_t middle = std::size_t(fifty - result.points.begin());
    for (const MeasuredToken &token : result.tokens) {
        QList<QByteArray> cells;
        cells << field(token.file, separator) << field(token.speaker, separator)
              << field(token.vowel, separator) << number(token.start, 6) << number(token.end, 6)
              << number(token.end - token.start, 6);
        for (qsizetype c = 0; c < result.contextTiers.size(); ++c)
            cells << field(token.context.value(c), separator);
        const auto frequencyAt = [&token](std::size_t point, std::size_t formant) {
            return point < token.frequencies.size() ? token.frequencies[point][formant] : NAN;
        };
        for (std::size_t f = 0; f < 3; ++f)
            cells << number(frequencyAt(middle, f), 1);
        for (std::size_t f = 0; f < 3; ++f)
            cells << number(token.bandwidths[f], 1);
        cells << number(token.ceiling, 1);
        for (std::size_t p = 0; p < result.points.size(); ++p) {
            if (p == middle)
                continue;
            for (std::size_t f = 0; f < 3; ++f)
                cells << number(frequencyAt(p, f), 1);
        }
        text += cells.join(separator);
        text += '\n';
    }
    return text;
}
