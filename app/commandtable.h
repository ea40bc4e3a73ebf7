#pragma once

#include "framework/commandtables.h"

#include <span>

// Every command of the program, once: caption, prompt, tooltip, keys and help topic. The
// menus and the toolbar list command ids only and take the rest from here.
namespace CommandTable {

std::span<const Command> commands();
// The row of `id`, or nullptr when the program has no such command.
const Command *find(int id);

} // namespace CommandTable
