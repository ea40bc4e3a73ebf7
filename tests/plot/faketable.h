#pragma once

// A document whose token rows are given directly, shown by a table without a window;
// and image helpers for chart tests.

#include "document/tessavoxdoc.h"
#include "plot/barkscale.h"
#include "plot/plotgeometry.h"

#include <QImage>

#include <algorithm>
#include <memory>
#include <vector>

struct FakeRow
{
    int f1 = 0, f2 = 0, f3 = 0;
    QString symbol;
    int order = 0;
};

// The table goes before the document, as in the program.
struct FakeDocument
{
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<QObject> table = std::make_unique<QObject>();
    explicit FakeDocument(const std::vector<FakeRow> &rows = {})
    {
        doc->attachTable(table.get());
        TokenTableModel &tokens = doc->tokens();
        tokens.beginBulkChange();
        for (const FakeRow &r : rows) {
            TokenTableModel::Row row;
            row.numbers = {r.f1, r.f2, r.f3, r.order};
            row.symbol = r.symbol;
            tokens.insertRowAt(tokens.count(), row);
        }
        tokens.endBulkChange();
        doc->m_nTokenCount = tokens.count();
        doc->m_bDataLoaded = true;
    }
    ~FakeDocument() { table.reset(); }
};

// Four tokens far from their mean, so the disc and group label stand clear of them; the
// mean falls at kWideCentre in an 800 x 600 window.
inline std::vector<FakeRow> wideGroup(const QString &a, const QString &b, int order)
{
    return {{300, 1000, 1000, a, order},
            {300, 2000, 2000, b, order},
            {700, 1000, 1000, a, order},
            {700, 2000, 2000, a, order}};
}
// Where the 800 x 600 window draws a point of F1 and F2 in hertz, or in Bark.
inline QPoint screenPointOfBark(double b1, double b2)
{
    int x = 0, y = 0;
    PlotGeometry::compute({0, 0, 800, 600}, 1, 1).mapBark(b1, b2, x, y);
    return QPoint(x, y);
}
inline QPoint screenPoint(int f1, int f2)
{
    return screenPointOfBark(HzToBark(f1), HzToBark(f2));
}
// Where the window puts the mean of tokens given by F1 and F2: their mean in Bark.
inline QPoint screenMean(const std::vector<std::pair<int, int>> &tokens)
{
    double b1 = 0.0, b2 = 0.0;
    for (const auto &[f1, f2] : tokens) {
        b1 += HzToBark(f1);
        b2 += HzToBark(f2);
    }
    const auto n = double(std::max<std::size_t>(tokens.size(), 1));
    return screenPointOfBark(b1 / n, b2 / n);
}
const QPoint kWideCentre = screenMean({{300, 1000}, {300, 2000}, {700, 1000}, {700, 2000}});

inline QImage blankImage(int width = 800, int height = 600, QColor fill = Qt::white)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

const QRgb kBlack = qRgb(0, 0, 0);

// Bounding box and number of the pixels of `colour` inside `area`.
struct Ink
{
    QRect box;
    int count = 0;
};
inline Ink ink(const QImage &image, const QRect &area, QRgb colour = kBlack)
{
    Ink found;
    const QRect within = area & image.rect();
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixel(x, y) == colour)
                found = {found.box | QRect(x, y, 1, 1), found.count + 1};
    return found;
}
