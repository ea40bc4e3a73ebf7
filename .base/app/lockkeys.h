#pragma once

#include <Qt>

#include <optional>

// Whether Caps Lock, Num Lock or Scroll Lock is on, where the windowing system can tell
// (X11); nullopt elsewhere.
std::optional<bool> systemLockKeyState(Qt::Key key);
