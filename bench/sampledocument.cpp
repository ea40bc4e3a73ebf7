#include "sampledocument.h"

#include "plotviewf1f2.h"
#include "plotviewf1f3.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"
#include "vowelsample.h"

#include <QFile>

SampleFile::SampleFile(int count)
{
    const QByteArray text = FormantFileOf(GenerateVowelTokens(count));
    const QString path = m_dir.filePath(QStringLiteral("vowels.txt"));
    QFile file(path);
    if (m_dir.isValid() && file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        m_path = path;
}

OpenedTable::OpenedTable(const QString &path)
    : m_doc(std::make_unique<CTessavoxDoc>()), m_table(std::make_unique<CTessavoxFormView>())
{
    if (!m_doc->OnOpenDocument(path))
        return;
    m_doc->setPathName(path, false);
    m_doc->addView(m_table.get());
    m_table->OnInitialUpdate();
    m_valid = m_table->grid().rowCount() == m_doc->m_nTokenCount;
}

OpenedTable::~OpenedTable()
{
    m_chart.reset();
    m_table.reset();
}

PlotView &OpenedTable::addChart(ChartKind kind, int width, int height)
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
