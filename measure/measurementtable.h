#pragma once

#include "measure/measurementjob.h"

#include <QByteArray>
#include <QStringList>

// The token table of a measurement as text: TSV (separator '\t') or CSV (','), UTF-8, with
// the header File Speaker Vowel Start End Duration, the context tiers, F1 F2 F3 B1 B2 B3
// Ceiling, then F1_p F2_p F3_p for each point p other than 50. Times in seconds with 6
// decimals, frequencies in Hz with 1; a formant not found is an empty cell.

// The header's names; a context tier named like a fixed column gets "_tier" added, so that
// no column is read in another's place.
QStringList MeasurementTableHeader(const MeasurementResult &result);
QByteArray FormatMeasurementTable(const MeasurementResult &result, char separator = '\t');
