#pragma once

#include <functional>
#include <memory>

class DocTemplate;

// Makes the templates of chart windows; the chart module registers one per plot command.
// The table knows the commands, not the chart classes behind them.
class PlotTemplates
{
public:
    using Factory = std::function<std::unique_ptr<DocTemplate>()>;

    // Replaces any factory registered for the command; an empty factory removes it.
    static void registerFactory(int commandId, Factory factory);
    // nullptr when none is registered.
    static std::unique_ptr<DocTemplate> create(int commandId);
};
