#pragma once

// A document with the given tokens and a table view filled from it, as opening a file
// leaves them. The view goes before the document.

#include "tessavoxdoc.h"
#include "tessavoxformview.h"

#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

struct Token
{
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    QByteArray label;
};

struct TableFixture
{
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<CTessavoxFormView> view = std::make_unique<CTessavoxFormView>();

    explicit TableFixture(const std::vector<Token> &tokens = {}, bool loaded = true)
    {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            FormantRecord &record = doc->m_records[i];
            record.formants = {tokens[i].f1, tokens[i].f2, tokens[i].f3, 0, 0};
            const auto n = std::min<std::size_t>(std::size_t(tokens[i].label.size()), 255);
            record.label.assign(tokens[i].label.constData(), n);
            record.labelLength = int(n);
        }
        doc->m_nTokenCount = int(tokens.size());
        doc->m_bDataLoaded = loaded && !tokens.empty();
        doc->addView(view.get());
        view->OnInitialUpdate();
    }
    ~TableFixture() { view.reset(); }

    CDatatbl5 &grid() { return view->grid(); }

    QStringList symbols() const
    {
        QStringList result;
        for (int row = 0; row < view->grid().rowCount(); ++row)
            result.append(view->GetCellText(row, 3));
        return result;
    }
    std::vector<int> column(int c) const
    {
        std::vector<int> result;
        for (int row = 0; row < view->grid().rowCount(); ++row)
            result.push_back(view->GetCellInt(row, c));
        return result;
    }
};
