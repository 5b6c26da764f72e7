// The main window's controls in one table: name, class, text, style, rectangle in twips and
// parent, in tab order. The layout is drawn for 96 dpi, where 15 twips make a pixel; every
// rectangle is scaled with MulDiv for the window's actual DPI, so the same function lays the
// window out at creation and again when it moves to a monitor of another DPI.
#pragma once

#include <cstddef>
#include <span>

#include "platform/win32_headers.h"

namespace ui {

// Control identifiers. IDOK and IDCANCEL (1 and 2) are kept out on purpose: IsDialogMessage turns
// Enter and Esc into those commands, which the window must ignore.
enum ControlId : int {
  kFrame1Id = 101,
  kLabel2Id,
  kTxtStandardProjectId,
  kBrowseId,
  kConvertButtonId,
  kFrame2Id,
  kLabel1Id,
  kLabel3Id,
  kStbMainId,
};

// Left, top, width, height in twips; for a control on a frame, relative to the frame.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlRow {
  const wchar_t* name;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  TwipsRect rect;
  int id;
  int parentId;  // 0 for the window itself, else the frame the rectangle is relative to
  // Docked to the client area's bottom edge: its bottom is the client's, whatever the rounding of
  // its top and height.
  bool dockedBottom = false;
};

inline constexpr wchar_t kForm1Caption[] = L"Upgrade Brenlow Professional 5.0 project";
inline constexpr int kClientWidthTwips = 4830;
inline constexpr int kClientHeightTwips = 4800;
inline constexpr int kTwipsPerInch = 1440;

// Every control of Form1 in creation order, which is also the tab order; each frame comes before
// the controls placed on it. The styles are the kinds' own; every control is also a visible child
// that clips its siblings.
std::span<const ControlRow> Form1Controls();

// The row of the control with that id; nullptr when there is none.
const ControlRow* FindControl(int id);

// Twips to pixels at the given DPI, rounded as MulDiv rounds.
int TwipsToPixels(int twips, UINT dpi);

// The control's rectangle in pixels relative to the window's client area: a frame's child is
// placed at the frame's pixel position plus its own scaled offset, so that it keeps its place on
// the frame whatever the rounding.
RECT ControlPixelRect(const ControlRow& row, UINT dpi);

// A label's rectangle when its wrapped text needs textHeight pixels: the table's, grown downwards
// when the message font wraps the text into more lines than the table's height holds (the layout
// was drawn for a smaller font), but never past the next control on the same frame nor into the
// frame's bottom margin. Never shorter than the table's.
RECT FitLabelRect(const ControlRow& row, UINT dpi, int textHeight);

// The client area's size in pixels at the given DPI.
SIZE ClientPixelSize(UINT dpi);

}  // namespace ui
