#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// An annotation in the TextGrid text format (long or short; UTF-8, or UTF-16 with a
// byte-order mark): its tiers with their intervals or points. Plain values, no behaviour
// beyond lookup; the reader below fills them and never shows anything.

struct TextGridItem
{
    double start = 0; // for a point, its time; `end` equals it
    double end = 0;
    QString text;
    int line = 0; // where the item begins in the file, for messages
};

struct TextGridTier
{
    QString name;
    bool intervals = true; // an interval tier; otherwise a point (text) tier
    std::vector<TextGridItem> items;
    int line = 0;

    // The label of the interval holding time `t`, the first one when several do; empty when
    // none does or the tier holds points.
    QString labelAt(double t) const;
};

struct TextGrid
{
    double start = 0;
    double end = 0;
    std::vector<TextGridTier> tiers;

    // The first tier named `name` (any case), or null.
    const TextGridTier *findTier(const QString &name) const;
};

struct TextGridReadResult
{
    TextGrid grid; // complete only when `error` is empty
    QString error; // what is wrong, in words
    int line = 0;  // where, when the fault has a place in the file

    bool ok() const { return error.isEmpty(); }
};

// Parses the whole file's bytes.
TextGridReadResult ParseTextGrid(const QByteArray &bytes);
// Reads the file at `path`.
TextGridReadResult ReadTextGridFile(const QString &path);
