#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/chartfonts.h"

OpenedDocument::OpenedDocument() : m_doc(std::make_unique<CTessavoxDoc>()) {}

OpenedDocument::~OpenedDocument() = default;

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path)
{
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    if (!opened->m_doc->OnOpenDocument(path))
        return nullptr;
    opened->m_doc->setPathName(path, false);
    // The rows fill, sort and number themselves as when the file opens in the program.
    opened->m_doc->attachTable(&opened->m_table);
    return opened;
}

bool OpenedDocument::chooseLabel(int order, const QString &text)
{
    const TokenTableModel &tokens = m_doc->tokens();
    int position = 0;
    for (int row = 0; row < m_doc->m_nTokenCount; ++row) {
        if (tokens.GetCellInt(row, TokenTableModel::Order) != order)
            continue;
        if (tokens.GetCellText(row, TokenTableModel::Symbol) == text) {
            m_doc->m_nOrderLabel[std::size_t(order)] = position;
            m_doc->m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
}

DocumentChart::DocumentChart(const CTessavoxDoc &doc, ChartKind kind, QSize size)
    : m_doc(doc), m_renderer(kind), m_size(size), m_displayFont(ChartFonts::displayFont()),
      m_hitSquares(kind == ChartKind::F1F2 ? 10000 : 100)
{}

void DocumentChart::drawWindow(QPainter &painter)
{
    m_renderer.DrawPlot(painter, m_doc, PlotFrame{0, 0, m_size.width(), m_size.height()}, 1,
                        m_displayFont, m_hitSquares);
}
