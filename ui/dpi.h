// DPI and font helpers for a per-monitor aware window. The newer DPI functions of user32 and
// shcore are looked up at run time, so that the program still starts where they are absent;
// there the older functions and the system DPI stand in.
#pragma once

#include "platform/scoped_win32.h"
#include "platform/win32_headers.h"

namespace ui {

inline constexpr UINT kBaseDpi = 96;

// The DPI of the system's primary display, which new windows take unless placed on another.
UINT SystemDpi();

// The monitor's effective DPI from shcore (Windows 8.1 on); 0 where that cannot be had.
UINT MonitorDpi(HMONITOR monitor);

// The DPI that the window is shown at: its own, else its monitor's, else the system's.
UINT WindowDpi(HWND window);

// The window rectangle, at the origin, whose client area has that size at that DPI.
RECT WindowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// A system metric (SM_CXEDGE, ...) as it is at that DPI.
int SystemMetricForDpi(int index, UINT dpi);

// The system's non-client metrics, their fonts as drawn at that DPI; false if none can be had.
bool GetNonClientMetrics(UINT dpi, NONCLIENTMETRICSW& metrics);

// The system's message font as it is drawn at that DPI, which honours the user's text size; false
// if it cannot be had.
bool GetMessageFont(UINT dpi, LOGFONTW& font);

// Where a window takes its message font from at a DPI: the system's (GetMessageFont), or, for a
// test that needs a font of its own, that font. False where none can be had.
using MessageFontSource = bool (*)(UINT dpi, LOGFONTW& font);

// The source's font made, and in `font` what it was made from; an empty owner and a zeroed `font`
// if none can be had.
platform::ScopedFont CreateMessageFont(UINT dpi, LOGFONTW& font,
                                       MessageFontSource source = GetMessageFont);

}  // namespace ui
