#pragma once

#include <QString>

class TokenTableModel;
class QPainter;

// How many rows go on which page; worked out before anything is painted.
struct TablePageLayout
{
    int rowsOnFirstPage = 0;
    int rowsPerPage = 0; // on the pages after the first
    int pageCount = 1;   // an empty table still prints one page with its titles

    // Heights in device pixels. Every page carries the titles and, when asked, the page
    // number; the column headings go on the first page, or on every page when repeated.
    static TablePageLayout compute(int pageHeight, int titlesHeight, int headingsHeight,
                                   int rowHeight, int footerHeight, int rowCount,
                                   bool repeatHeadings);
};

// Prints the token table's five columns under a title and a subtitle, over as many pages as the
// rows need. Paints on whatever device the painter is open on; only a paged device
// (printer, PDF writer) gets the pages after the first.
class TablePrinter
{
public:
    struct Options
    {
        bool gridLines = false;     // a box around every cell
        bool repeatHeadings = true; // column headings at the top of every page
        bool pageNumbers = true;    // "Page n of m" at the foot of every page
        int maxPages = 0;           // 0 = no limit
    };

    // Returns the number of pages printed.
    static int print(QPainter &painter, const TokenTableModel &model, const QString &title,
                     const QString &subtitle, const Options &options);
};

// The table window's File > Print: every row under "Tessavox Print" and the document's
// title, headings repeated, pages numbered, no cell boxes. Returns the number of pages.
int PrintTokenTable(QPainter &painter, const TokenTableModel &tokens, const QString &title);
