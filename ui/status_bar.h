// The status bar's one text, drawn so that what matters survives where it does not fit: a path
// gives way in its middle, keeping the file's name and whatever follows it (the reason of a
// failure), and any other text gives way at its end. Where the text is cut, a tooltip on the status
// bar shows it whole. Only the drawing changes: the control keeps the whole text as its own, so
// that WM_GETTEXT and SB_GETTEXT still return it to whoever reads the status bar.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_headers.h"

#include <uxtheme.h>

namespace ui {

// The visual style's functions that the status bar is drawn with: uxtheme's, found where it is
// loaded (a status bar that has a theme got it through uxtheme, so where uxtheme is not loaded
// there is no theme to draw), or a test's stand-in for a visual style. Not imported, so that the
// program's start does not wait for uxtheme to load before the themed controls need it.
struct StatusBarTheme {
  using GetWindowThemeFn = HTHEME(WINAPI*)(HWND);
  using DrawBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
  using ContentRectFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*);
  using ColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);

  GetWindowThemeFn getWindowTheme = nullptr;
  DrawBackgroundFn drawBackground = nullptr;
  ContentRectFn contentRect = nullptr;
  ColorFn color = nullptr;  // GetThemeColor
};

// uxtheme's own, each nullptr where uxtheme is not loaded.
StatusBarTheme UxThemeFunctions();

// Paints the status bar (one part, its text set with WM_SETTEXT or SB_SETTEXT) from now on, as
// it paints itself: its background, its pane's sunken border unless the text is SBT_NOBORDERS,
// the font it was given, the system's colours, the visual style where one applies. Undone when
// the status bar is destroyed. False where the subclass could not be installed; the status bar
// then draws itself as before.
bool DrawStatusBarFitted(HWND statusBar);

// Draws the status bar with that text in its pane into `dc`, as the status bar shows them, and
// returns the text as drawn: the whole text where it fits, else the text with its ellipsis. Where
// the status bar has a visual style, the text is in the style's colour for the pane, or the
// button text's where the style gives none; without one, in the system's colours, which are what
// high contrast sets.
std::wstring DrawFittedStatusText(HWND statusBar, HDC dc, std::wstring_view text,
                                  const StatusBarTheme& functions = UxThemeFunctions());

}  // namespace ui
