#pragma once

#include "plot/chartexport.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

// File > Export Chart...'s size dialog: the picture's width and height (pixels for PNG,
// points for SVG and PDF), for PNG its resolution, and for a zoomed window whether the
// picture shows the zoomed view or the whole chart.
class ExportChartDialog : public QDialog
{
    Q_OBJECT

public:
    ExportChartDialog(ChartFileFormat format, QSize size, QWidget *parent = nullptr,
                      bool zoomed = false);

    QSize chosenSize() const;
    int chosenDotsPerInch() const;
    // Whether the picture is to show the window's zoomed view; false for the whole chart.
    bool zoomedViewChosen() const;

private:
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
    QSpinBox *m_dpi = nullptr;
    QCheckBox *m_zoomed = nullptr; // only for a zoomed window
};
