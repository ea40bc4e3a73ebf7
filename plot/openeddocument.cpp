#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "document/vowelorder.h"
#include "plot/chartfonts.h"

#include <algorithm>
#include <array>
#include <vector>

OpenedDocument::OpenedDocument() : m_doc(std::make_unique<CTessavoxDoc>()) {}

OpenedDocument::~OpenedDocument() = default;

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path)
{
    return openWith(path, &CTessavoxDoc::OnOpenDocument);
}

std::unique_ptr<OpenedDocument>
OpenedDocument::openWith(const QString &path, bool (CTessavoxDoc::*read)(const QString &))
{
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    if (!(opened->m_doc.get()->*read)(path))
        return nullptr;
    opened->m_doc->setPathName(path, false);
    // The rows fill, sort and number themselves as when the file opens in the program.
    opened->m_doc->attachTable(&opened->m_table);
    return opened;
}

std::unique_ptr<OpenedDocument> OpenedDocument::open(const QString &path,
                                                     std::optional<TabularFileKind> kind,
                                                     const TabularReadOptions &read,
                                                     const QString &extraColumn, QString &error,
                                                     int &leftOut)
{
    leftOut = 0;
    // The reader has reported any failure itself.
    if (kind.value_or(TabularFileKindForPath(path)) == TabularFileKind::Formant)
        return openWith(path, &CTessavoxDoc::openFormantFile);
    std::unique_ptr<OpenedDocument> opened(new OpenedDocument);
    CTessavoxDoc &doc = *opened->m_doc;
    error = doc.readTable(path, read);
    if (!error.isEmpty())
        return nullptr;
    if (!extraColumn.isEmpty() && doc.tableColumn(extraColumn) < 0) {
        error = QStringLiteral("the table has no column \"%1\"").arg(extraColumn);
        return nullptr;
    }
    doc.setPathName(path, false);
    doc.attachTable(&opened->m_table);
    leftOut = opened->leaveOutRowsWithoutF1OrF2();
    if (doc.m_nTokenCount == 0) {
        error = QStringLiteral("no row has both F1 and F2");
        return nullptr;
    }
    return opened;
}

int OpenedDocument::leaveOutRowsWithoutF1OrF2()
{
    // Unlike the table window, which keeps such a row with its empty cells, a chart made
    // here has no one to fill them in.
    TokenTableModel &tokens = m_doc->tokens();
    const auto lacking = [&tokens](int row) {
        return std::ranges::any_of(
            std::array{TokenTableModel::F1, TokenTableModel::F2}, [&](int column) {
                return tokens.isEmpty(row, column) || tokens.number(row, column) == 0;
            });
    };
    std::vector<TokenTableModel::Row> kept;
    kept.reserve(std::size_t(tokens.count()));
    for (int row = 0; row < tokens.count(); ++row) {
        if (!lacking(row))
            kept.push_back(tokens.row(row));
    }
    const int leftOut = tokens.count() - int(kept.size());
    if (leftOut == 0)
        return 0;
    tokens.beginBulkChange();
    tokens.clearRows();
    for (std::size_t row = 0; row < kept.size(); ++row)
        tokens.insertRowAt(int(row), kept[row]);
    // Vowels whose every row went are numbered no more.
    AssignOrder(tokens);
    tokens.endBulkChange();
    m_doc->m_nTokenCount = tokens.count();
    return leftOut;
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
