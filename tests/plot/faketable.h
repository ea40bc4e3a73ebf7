#pragma once

// A stand-in for the table view: rows of F1, F2, F3, symbol and order served through
// CellSource, as the charts read them, plus a document that holds it as its first view.

#include "cellsource.h"
#include "tessavoxdoc.h"
#include "view.h"

#include <QImage>
#include <QString>

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
    mutable int reads = 0;

    int GetCellInt(int row, int column) const override
    {
        ++reads;
        const FakeRow &r = rows.at(std::size_t(row));
        switch (column) {
        case 0:
            return r.f1;
        case 1:
            return r.f2;
        case 2:
            return r.f3;
        case 4:
            return r.order;
        default:
            return 0;
        }
    }
    QString GetCellText(int row, int column) const override
    {
        ++reads;
        const FakeRow &r = rows.at(std::size_t(row));
        return column == 3 ? r.symbol : QString::number(GetCellInt(row, column));
    }
};

// A loaded document whose table holds `rows`. The table is destroyed before the document.
struct FakeDocument
{
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<FakeTable> table = std::make_unique<FakeTable>();

    explicit FakeDocument(std::vector<FakeRow> rows = {})
    {
        doc->addView(table.get());
        setRows(std::move(rows));
    }
    ~FakeDocument() { table.reset(); }
    void setRows(std::vector<FakeRow> rows)
    {
        table->rows = std::move(rows);
        doc->m_nTokenCount = int(table->rows.size());
        doc->m_bDataLoaded = true;
    }
};

// An image of the chart window's size, cleared as the window is before a paint.
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
