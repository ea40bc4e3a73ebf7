#pragma once

class QPrinter;
class View;
struct PrintInfo;

// Runs print jobs for views: the print dialog, the preview window and page setup, all
// painting through the view's OnPrint. The printer, page size and orientation chosen last
// are kept in the program's settings and start every job.
class PrintJob
{
public:
    // Asks for the printer and pages, then prints. Returns whether anything was printed.
    static bool print(View &view);
    // Shows the pages in a preview window that can also print them.
    static void preview(View &view);
    // Page size and orientation for later jobs. Returns whether the user accepted.
    static bool setup();

    // Prints pages info.minPage..info.maxPage of `view` on an already configured printer.
    static void printPages(View &view, QPrinter &printer, PrintInfo &info);

    static void loadSettings(QPrinter &printer);
    static void saveSettings(const QPrinter &printer);
};
