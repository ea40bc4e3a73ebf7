#include "table/plottemplates.h"

#include "framework/doctemplate.h"

#include <QHash>

namespace {

QHash<int, PlotTemplates::Factory> &factories()
{
    static QHash<int, PlotTemplates::Factory> registry;
    return registry;
}

} // namespace

void PlotTemplates::registerFactory(int commandId, Factory factory)
{
    if (factory)
        factories().insert(commandId, std::move(factory));
    else
        factories().remove(commandId);
}

std::unique_ptr<DocTemplate> PlotTemplates::create(int commandId)
{
    const auto it = factories().constFind(commandId);
    if (it == factories().constEnd())
        return nullptr;
    return (*it)();
}
