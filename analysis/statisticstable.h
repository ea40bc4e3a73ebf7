#pragma once

#include "analysis/groupstatistics.h"

#include <QByteArray>
#include <QStringList>

// Group statistics as a table of text, as `tessavox-batch stats` writes them and the
// program's Statistics window shows, copies and saves them: one header, one row per group.

// Shortest text that reads back as the same double (at most 17 significant digits);
// nothing for a value that is not finite, so that no NaN reaches a file.
void appendNumber(QByteArray &out, double value);

// `text` as one field of a line joined by `separator`: a text holding the separator, a
// quote or a line break is quoted, its quotes doubled.
QByteArray tableField(const QString &text, char separator);

// group n mean_x mean_y sd_x sd_y cov_xy semi_major semi_minor angle_deg area inside
QStringList statisticsColumns();

// The header and a row per group, fields joined by `separator` ('\t' or ','), each line
// ending in "\n". A group name holding the separator, a quote or a line break is quoted.
QByteArray formatStatisticsTable(const StatisticsResult &stats, const QStringList &groupNames,
                                 char separator = '\t');
