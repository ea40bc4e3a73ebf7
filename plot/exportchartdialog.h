#pragma once

#include "plot/chartexport.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QSpinBox;

// File > Export Chart...'s size dialog: the picture's width and height (pixels for PNG,
// points for SVG and PDF), for PNG its resolution, the column whose values get a panel
// each, and for a zoomed window whether the picture shows the zoomed view or the whole
// chart.
class ExportChartDialog : public QDialog
{
    Q_OBJECT

public:
    // `facets` are the columns offered to draw panels by; `facet` the one chosen now.
    ExportChartDialog(ChartFileFormat format, QSize size, QWidget *parent = nullptr,
                      const QStringList &facets = {}, const QString &facet = {},
                      bool zoomed = false);

    QSize chosenSize() const;
    // 0: as on screen, one pixel a screen pixel.
    int chosenDotsPerInch() const;
    // Empty: one chart.
    QString chosenFacet() const;
    // Whether the picture is to show the window's zoomed view; false for the whole chart.
    bool zoomedViewChosen() const;

    // Resolutions a PNG may have.
    static constexpr int kFewestDots = 72;
    static constexpr int kMostDots = 1200;

private:
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
    QComboBox *m_dpi = nullptr;
    QComboBox *m_facet = nullptr;
    QCheckBox *m_zoomed = nullptr; // only for a zoomed window
    int m_shownDots = 96; // the resolution the size boxes were last set for
};
