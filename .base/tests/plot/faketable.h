#pragma once

// A stand-in for the table view, serving rows through CellSource as the charts read
// them, held as the first view of a loaded document; and image helpers for chart tests.

#include "document/cellsource.h"
#include "document/tessavoxdoc.h"
#include "framework/view.h"
#include "plot/barkscale.h"
#include "plot/plotgeometry.h"

#include <QImage>

#include <array>
#include <memory>
#include <vector>

struct FakeRow
{
    int f1 = 0, f2 = 0, f3 = 0;
    QString symbol;
    int order = 0;
};

class FakeTable : public View, public CellSource
{
public:
    std::vector<FakeRow> rows;
    int GetCellInt(int row, int column) const override
    {
        const FakeRow &r = rows.at(std::size_t(row));
        return std::array{r.f1, r.f2, r.f3, 0, r.order}.at(std::size_t(column));
    }
    QString GetCellText(int row, int) const override { return rows.at(std::size_t(row)).symbol; }
};

// The table goes before the document, as in the program.
struct FakeDocument
{
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<FakeTable> table = std::make_unique<FakeTable>();
    explicit FakeDocument(std::vector<FakeRow> rows = {})
    {
        doc->addView(table.get());
        table->rows = std::move(rows);
        doc->m_nTokenCount = int(table->rows.size());
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
const QPoint kWideCentre(477, 179);

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
