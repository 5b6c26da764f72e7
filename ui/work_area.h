// Where the window stands on its monitor's work area, the screen less the taskbar and any docked
// bars: it opens centred there and, when it grows, is moved no further than keeps it there.
#pragma once

#include "platform/win32_headers.h"

namespace ui {

// The work area of the monitor that holds most of the window, or else of the nearest one.
RECT WorkAreaOf(HWND window);

// The window's rectangle moved to the middle of the work area, but never past its left or top.
RECT CentredOn(const RECT& window, const RECT& work);

// The window's rectangle moved by the least that keeps it on the work area; one larger than the
// work area keeps its left and top edges on it, so that its title bar stays in reach.
RECT KeptOn(const RECT& window, const RECT& work);

// Moves the window to that rectangle's place, its size unchanged.
void MoveWindowTo(HWND window, const RECT& place);

}  // namespace ui
