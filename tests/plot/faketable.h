#pragma once

// A stand-in for the table view, serving rows through CellSource as the charts read
// them, held as the first view of a loaded document; and image helpers for chart tests.

#include "cellsource.h"
#include "tessavoxdoc.h"
#include "view.h"

#include <QImage>

#include <memory>
#include <vector>

struct FakeRow
{
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
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
        const int cells[] = {r.f1, r.f2, r.f3, 0, r.order};
        return cells[column];
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

inline QImage blankImage(int width = 800, int height = 600, QColor fill = Qt::white)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

inline bool isBlack(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// Bounding box of the pixels of `colour` inside `area`; empty when there are none.
inline QRect inkBox(const QImage &image, const QRect &area, QRgb colour = qRgb(0, 0, 0))
{
    QRect box;
    const QRect within = area & image.rect();
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}
