#pragma once

#include "plot/chartexport.h"

#include <QDialog>

class QSpinBox;

// File > Export Chart...'s size dialog: the picture's width and height (pixels for PNG,
// points for SVG and PDF) and, for PNG, its resolution.
class ExportChartDialog : public QDialog
{
    Q_OBJECT

public:
    ExportChartDialog(ChartFileFormat format, QSize size, QWidget *parent = nullptr);

    QSize chosenSize() const;
    int chosenDotsPerInch() const;

private:
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
    QSpinBox *m_dpi = nullptr;
};
