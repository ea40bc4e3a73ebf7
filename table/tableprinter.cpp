#include "table/tableprinter.h"

#include "document/tokentablemodel.h"
#include "framework/printlinewidth.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kCellPadding = 4; // at 96 dpi

QFont makeFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

TablePageLayout TablePageLayout::compute(int pageHeight, int titlesHeight, int headingsHeight,
                                         int rowHeight, int footerHeight, int rowCount,
                                         bool repeatHeadings)
{
    rowHeight = std::max(rowHeight, 1);
    const int body = pageHeight - titlesHeight - footerHeight;
    TablePageLayout layout;
    // A page too small for its furniture still takes one row, so printing always ends.
    layout.rowsOnFirstPage = std::max(1, (body - headingsHeight) / rowHeight);
    layout.rowsPerPage = std::max(1, (repeatHeadings ? body - headingsHeight : body) / rowHeight);
    const int rest = rowCount - layout.rowsOnFirstPage;
    layout.pageCount = rest <= 0 ? 1 : 1 + (rest + layout.rowsPerPage - 1) / layout.rowsPerPage;
    return layout;
}

int TablePrinter::print(QPainter &painter, const TokenTableModel &model, const QString &title,
                        const QString &subtitle, const Options &options)
{
    QPaintDevice *device = painter.device();
    if (!device)
        return 0;
    auto *paged = dynamic_cast<QPagedPaintDevice *>(device);
    const QRect page = painter.window();

    const QFont titleFont = makeFont(14, true);
    const QFont subtitleFont = makeFont(11, false);
    const QFont headingFont = makeFont(10, true);
    const QFont cellFont = makeFont(10, false);
    const QFontMetrics titleMetrics(titleFont, device);
    const QFontMetrics subtitleMetrics(subtitleFont, device);
    const QFontMetrics cellMetrics(cellFont, device);

    const int rowHeight = cellMetrics.height() * 14 / 10;
    const int titlesHeight = titleMetrics.height() + subtitleMetrics.height() + rowHeight;
    const int footerHeight = options.pageNumbers ? rowHeight * 2 : 0;
    const int rowCount = model.count();
    const TablePageLayout layout =
        TablePageLayout::compute(page.height(), titlesHeight, rowHeight, rowHeight, footerHeight,
                                 rowCount, options.repeatHeadings);

    // Column widths keep the table's proportions at the device's resolution, widen to fit
    // their headings, shrink to a narrow page, and the table is centred under the titles.
    const double dpiScale = device->logicalDpiX() / 96.0;
    const int padding = int(kCellPadding * dpiScale);
    const QFontMetrics headingMetrics(headingFont, device);
    // The Speaker column too, for a table that shows it.
    const int columns = model.columnCount();
    std::vector<double> widths(std::size_t(columns), 0.0);
    double tableWidth = 0;
    for (int c = 0; c < columns; ++c) {
        const QString heading = TokenTableModel::heading(c);
        const auto i = static_cast<std::size_t>(c);
        widths[i] = std::max(TokenTableModel::columnWidth(c) * dpiScale,
                             double(headingMetrics.horizontalAdvance(heading) + 2 * padding));
        tableWidth += widths[i];
    }
    const double fit = std::min(1.0, page.width() / tableWidth);
    std::vector<int> edges(std::size_t(columns) + 1, 0);
    const double left = page.left() + (page.width() - tableWidth * fit) / 2;
    double x = 0;
    edges[0] = int(left);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        x += widths[c] * fit;
        edges[c + 1] = int(left + x);
    }

    auto drawRow = [&](int y, auto &&textOf, Qt::Alignment numberAlign) {
        for (int c = 0; c < columns; ++c) {
            const QRect cell(edges[std::size_t(c)], y,
                             edges[std::size_t(c) + 1] - edges[std::size_t(c)], rowHeight);
            if (options.gridLines)
                painter.drawRect(cell);
            const Qt::Alignment align =
                (TokenTableModel::isNumberColumn(c) ? numberAlign : Qt::AlignLeft) |
                Qt::AlignVCenter;
            painter.drawText(cell.adjusted(padding, 0, -padding, 0), int(align), textOf(c));
        }
    };

    painter.save();
    painter.setPen(QPen(Qt::black, PrintLineWidth(painter.device())));
    painter.setBrush(Qt::NoBrush);
    int printed = 0;
    int row = 0;
    for (int p = 0; p < layout.pageCount; ++p) {
        if (options.maxPages > 0 && p >= options.maxPages)
            break;
        if (p > 0 && (!paged || !paged->newPage()))
            break;
        int y = page.top();
        painter.setFont(titleFont);
        painter.drawText(QRect(page.left(), y, page.width(), titleMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, title);
        y += titleMetrics.height();
        painter.setFont(subtitleFont);
        painter.drawText(QRect(page.left(), y, page.width(), subtitleMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, subtitle);
        y += subtitleMetrics.height() + rowHeight;

        if (p == 0 || options.repeatHeadings) {
            painter.setFont(headingFont);
            drawRow(
                y, [](int c) { return TokenTableModel::heading(c); }, Qt::AlignRight);
            y += rowHeight;
            if (!options.gridLines)
                painter.drawLine(edges.front(), y, edges.back(), y);
        }

        painter.setFont(cellFont);
        const int rowsHere = p == 0 ? layout.rowsOnFirstPage : layout.rowsPerPage;
        for (int i = 0; i < rowsHere && row < rowCount; ++i, ++row) {
            drawRow(
                y, [&model, row](int c) { return model.cellText(row, c); }, Qt::AlignRight);
            y += rowHeight;
        }

        if (options.pageNumbers) {
            painter.drawText(QRect(page.left(), page.bottom() - rowHeight, page.width(), rowHeight),
                             Qt::AlignHCenter | Qt::AlignVCenter,
                             QStringLiteral("Page %1 of %2").arg(p + 1).arg(layout.pageCount));
        }
        ++printed;
    }
    painter.restore();
    return printed;
}

int PrintTokenTable(QPainter &painter, const TokenTableModel &tokens, const QString &title)
{
    const TablePrinter::Options options{false, true, true, 0};
    return TablePrinter::print(painter, tokens, QStringLiteral("Tessavox Print"), title, options);
}
