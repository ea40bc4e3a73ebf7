#include "plot/openeddocument.h"

#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f3.h"
#include "table/gridmodel.h"
#include "table/tessavoxformview.h"

OpenedDocument::OpenedDocument() : m_doc(std::make_unique<CTessavoxDoc>()) {}

OpenedDocument::~OpenedDocument()
{
    m_chart.reset();
    m_table.reset();
}

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path)
{
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    if (!opened->m_doc->OnOpenDocument(path))
        return nullptr;
    opened->m_doc->setPathName(path, false);
    // The table fills, sorts and numbers itself as when the file opens in the program.
    opened->m_table = std::make_unique<CTessavoxFormView>();
    opened->m_doc->addView(opened->m_table.get());
    opened->m_table->OnInitialUpdate();
    return opened;
}

bool OpenedDocument::chooseLabel(int order, const QString &text)
{
    int position = 0;
    for (int row = 0; row < m_doc->m_nTokenCount; ++row) {
        if (m_table->GetCellInt(row, GridModel::Order) != order)
            continue;
        if (m_table->GetCellText(row, GridModel::Symbol) == text) {
            m_doc->m_nOrderLabel[std::size_t(order)] = position;
            m_doc->m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
}

PlotView &OpenedDocument::addChart(ChartKind kind, int width, int height)
{
    m_chart.reset();
    if (kind == ChartKind::F1F2)
        m_chart = std::make_unique<CPlotViewF1F2>();
    else
        m_chart = std::make_unique<CPlotViewF1F3>();
    m_doc->addView(m_chart.get());
    m_chart->resize(width, height);
    m_chart->OnInitialUpdate();
    return *m_chart;
}
