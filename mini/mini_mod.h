#pragma once

#include "window_ops.h"

#include <optional>

class Mini;

// The mini roller's window module: the placement flag and the activation hook of its window.
namespace MiniMod {

// 1 after "Set to Top", 0 after "Set to Normal", empty before either has run.
extern std::optional<int> onTop;

// The activation hook of the mini window; empty while unhooked.
extern WindowHook prevWndProc;

// Told of the program losing (a = 0) or gaining (a = 1) activation: recolours the title strip
// and, while the window is meant to be top-most, puts it back above the other top-most
// windows. Other values change nothing.
void windowProc(Mini& mini, int a);

} // namespace MiniMod
