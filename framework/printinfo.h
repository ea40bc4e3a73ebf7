#pragma once

#include <QRect>

class QPrinter;

// What a view's print hooks know about the print job in progress.
struct PrintInfo
{
    QPrinter *printer = nullptr; // not owned
    QRect m_rectDraw;            // printable area of the page, in device pixels
    int currentPage = 1;
    int minPage = 1;
    int maxPage = 1; // the framework prints pages minPage..maxPage
    bool preview = false;
};
