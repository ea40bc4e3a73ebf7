#pragma once

#include <functional>
#include <memory>

class DocTemplate;

// The table's Plot commands open chart windows through this one hook, which the program
// sets at start-up: the table knows the commands, not the chart classes behind them.
namespace PlotTemplates {

// Makes the template of the chart window for a Plot command, or nullptr.
using Factory = std::function<std::unique_ptr<DocTemplate>(int commandId)>;

// Replaces the factory; an empty one leaves the Plot commands without charts.
void setFactory(Factory factory);
// nullptr when no factory is set or it makes nothing for `commandId`.
std::unique_ptr<DocTemplate> create(int commandId);

} // namespace PlotTemplates
