#include "table/plottemplates.h"

#include "framework/doctemplate.h"

namespace {

PlotTemplates::Factory &factory()
{
    static PlotTemplates::Factory hook;
    return hook;
}

} // namespace

void PlotTemplates::setFactory(Factory newFactory)
{
    factory() = std::move(newFactory);
}

std::unique_ptr<DocTemplate> PlotTemplates::create(int commandId)
{
    return factory() ? factory()(commandId) : nullptr;
}
