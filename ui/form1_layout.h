// The main window's controls in one table (name, class, text, style, rectangle in twips and
// parent, in tab order) and the arithmetic that lays them out. The table is drawn for the design
// font, the 8-point message font, at 96 dpi, where 15 twips make a pixel. A window at another DPI
// or with a larger message font is the table scaled by both, as dialog units scale a dialog
// template with its font; every control is then made as tall as its text needs, and what it
// gains moves the controls below it down. At the design font the window is the table exactly.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <span>

#include "platform/win32_headers.h"

namespace ui {

// Control identifiers by role, numbered in on-screen order, top to bottom and left to right. IDOK
// and IDCANCEL (1 and 2) are kept out on purpose: IsDialogMessage turns Enter and Esc into those
// commands, which the window must ignore.
enum ControlId : int {
  kProjectFrameId = 101,
  kProjectHintId,
  kPathFieldId,
  kBrowseButtonId,
  kConvertButtonId,
  kNotesFrameId,
  kPurposeNoteId,
  kBackupNoteId,
  kStatusBarId,
};

// Left, top, width, height in twips; for a control on a frame, relative to the frame.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

// What a control is: how its text is measured and what it may be drawn over.
enum class ControlKind { kFrame, kLabel, kTextBox, kButton, kStatusBar };

struct ControlRow {
  const wchar_t* name;
  ControlKind kind;
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
inline constexpr std::size_t kControlCount = 9;
// The message font that the table was drawn for: its em height in pixels at 96 dpi.
inline constexpr int kDesignEmHeight = 11;

// Every control of Form1 in tab order, each frame before the controls placed on it. The styles
// are the kinds' own; every control is also a visible child that clips its siblings.
std::span<const ControlRow> Form1Controls();

// The row of the control with that id; nullptr when there is none.
const ControlRow* FindControl(int id);

// Pixels for twips: MulDiv(twips, numerator, denominator), rounded as MulDiv rounds.
struct Scale {
  int numerator;
  int denominator;
  int Pixels(int twips) const { return MulDiv(twips, numerator, denominator); }
};

// The layout's scale at that DPI for a message font whose em height is emHeight pixels there:
// the DPI's alone at the design font's height for that DPI or below, else grown by the font's
// height against it.
Scale FontScale(UINT dpi, int emHeight);

// The room that a control's text needs in the font it is drawn in, in pixels: the least width
// (0 where the text wraps or there is none) and the least height at the given width.
struct TextRoom {
  int width;
  int height;
};
using RoomFor = std::function<TextRoom(const ControlRow& row, int width)>;

struct Form1Layout {
  std::array<RECT, kControlCount> rects;  // in table order, in client coordinates
  SIZE client;
};

// The table at that scale, widened across where a one-line text needs more room, each control
// then as tall as roomFor says its text needs. The height a control gains is inserted below its
// bottom edge: whatever lies below moves down and whatever holds it (a frame, the client area)
// grows, so that nothing comes to overlap and a frame keeps holding what it held.
Form1Layout LayOutForm1(Scale scale, const RoomFor& roomFor);

}  // namespace ui
