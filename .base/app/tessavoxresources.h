#pragma once

#include "framework/commandtables.h"

#include <span>

// The program's menus, accelerators and toolbar, as data.
namespace TessavoxResources {

// IDR_MAINFRAME: shown while no document window is open.
std::span<const MenuItem> mainFrameMenu();
// IDR_TESSAVOXTYPE: shown while a document window is active.
std::span<const MenuItem> documentMenu();
std::span<const Accelerator> accelerators();
// Images index the strip of toolbarImages().
std::span<const ToolbarButton> toolbarButtons();

} // namespace TessavoxResources
