#include "ui/form1_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace ui {
namespace {

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;        // SS_LEFT wraps long texts
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;  // never BS_DEFPUSHBUTTON

constexpr ControlRow Frame(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id) {
  return ControlRow{name, ControlKind::kFrame, L"BUTTON", text, BS_GROUPBOX, 0, rect, id, 0};
}

constexpr ControlRow Label(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id,
                           int frameId) {
  return ControlRow{name, ControlKind::kLabel, L"STATIC", text, kLabelStyle, 0, rect, id, frameId};
}

constexpr ControlRow Button(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id) {
  return ControlRow{name, ControlKind::kButton, L"BUTTON", text, kButtonStyle, 0, rect, id, 0};
}

// clang-format off
constexpr std::array<ControlRow, kControlCount> kControls{
    Frame(L"Frame1", L"Select Project:", {120, 120, 4575, 1815}, kProjectFrameId),
    Label(L"Label2",
          L"Please browse your Brenlow Professional project, then press Convert to upgrade your "
          L"project.",
          {120, 240, 4335, 495}, kProjectHintId, kProjectFrameId),
    // Takes dropped files itself, as the window does, rather than trusting a drop to reach the
    // window through it.
    ControlRow{L"txtStandardProject", ControlKind::kTextBox, L"EDIT", L"",
               ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES,
               {360, 960, 3615, 285}, kPathFieldId, 0},
    Button(L"Browse", L"...", {4080, 960, 495, 285}, kBrowseButtonId),
    Button(L"ConvertButton", L"Convert", {360, 1440, 1335, 375}, kConvertButtonId),
    Frame(L"Frame2", L"", {120, 2040, 4575, 2055}, kNotesFrameId),
    Label(L"Label1",
          L"This utility upgrades your projects created in Brenlow Professional 5.0 or 5.1 to the "
          L"format of the version 5.5. So that you can migrate it to Corvale 7.",
          {120, 240, 4215, 735}, kPurposeNoteId, kNotesFrameId),
    Label(L"Label3",
          L"Note that you will not be able to open your project in Brenlow Professional 5.0 or 5.1 "
          L"once it is converted. Please make a backup copy before running this program.",
          {120, 1080, 4215, 735}, kBackupNoteId, kNotesFrameId),
    // Placed by the table like every other control, docked by its rectangle; CCS_NORESIZE keeps
    // the control from choosing a height of its own.
    ControlRow{L"stbMain", ControlKind::kStatusBar, STATUSCLASSNAMEW, L"",
               CCS_NOPARENTALIGN | CCS_NORESIZE, 0, {0, 4425, 4830, 375}, kStatusBarId, 0, true},
};
// clang-format on

std::size_t IndexOf(int id) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id == id) return i;
  }
  return kControls.size();
}

// The smallest scale across at which every one-line text has its room: a control too narrow at
// `scale` sets the scale that makes it exactly as wide as its text needs, and since that only
// ever grows the scale, every control checked before keeps its room.
Scale WidenedFor(Scale scale, const RoomFor& roomFor) {
  for (const ControlRow& row : kControls) {
    const int needed = roomFor(row, 0).width;
    if (needed > scale.Pixels(row.rect.width)) scale = Scale{needed, row.rect.width};
  }
  return scale;
}

// The table's rectangles at those scales. A frame's child is placed at the frame's pixel
// position plus its own scaled offset, so that it keeps its place on the frame whatever the
// rounding.
std::array<RECT, kControlCount> ScaledRects(Scale across, Scale down) {
  std::array<RECT, kControlCount> rects{};
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const ControlRow& row = kControls[i];
    LONG left = across.Pixels(row.rect.left);
    LONG top = down.Pixels(row.rect.top);
    if (const std::size_t parent = IndexOf(row.parentId); parent < kControls.size()) {
      left += rects[parent].left;
      top += rects[parent].top;
    }
    rects[i] =
        RECT{left, top, left + across.Pixels(row.rect.width), top + down.Pixels(row.rect.height)};
    if (row.dockedBottom) rects[i].bottom = down.Pixels(kClientHeightTwips);
  }
  return rects;
}

// How far the control on a frame may grow without moving anything: down to the nearest control
// below it that it would run into, and no further than the frame's bottom less a margin as wide
// as its own inset from the frame's left. A control on the window has no such room.
LONG FreeBelow(std::size_t i, Scale down, const std::array<RECT, kControlCount>& rects) {
  const std::size_t frame = IndexOf(kControls[i].parentId);
  if (frame >= kControls.size()) return 0;
  const RECT& rect = rects[i];
  LONG limit = rects[frame].bottom - down.Pixels(kControls[i].rect.left);
  for (std::size_t j = 0; j < kControls.size(); ++j) {
    const RECT& other = rects[j];
    const bool beneath =
        other.top >= rect.bottom && other.left < rect.right && other.right > rect.left;
    if (j != i && j != frame && beneath) limit = std::min(limit, other.top);
  }
  return std::max<LONG>(0, limit - rect.bottom);
}

}  // namespace

std::span<const ControlRow> Form1Controls() { return kControls; }

const ControlRow* FindControl(int id) {
  const std::size_t index = IndexOf(id);
  return index < kControls.size() ? &kControls[index] : nullptr;
}

Scale FontScale(UINT dpi, int emHeight) {
  const int dpiValue = static_cast<int>(dpi);
  const int designEm = MulDiv(kDesignEmHeight, dpiValue, 96);
  if (emHeight <= designEm) return Scale{dpiValue, kTwipsPerInch};
  return Scale{dpiValue * emHeight, kTwipsPerInch * designEm};
}

Form1Layout LayOutForm1(Scale scale, const RoomFor& roomFor) {
  const Scale across = WidenedFor(scale, roomFor);
  Form1Layout layout{ScaledRects(across, scale),
                     SIZE{across.Pixels(kClientWidthTwips), scale.Pixels(kClientHeightTwips)}};
  // What each control lacks goes first into the free space below it on its frame, as the table
  // itself lets a label's last line run into it at the design font; the rest is inserted at its
  // bottom, the most that any control ending there lacks, since controls side by side grow
  // together.
  std::array<LONG, kControlCount> grownInPlace{};
  std::map<LONG, LONG> inserted;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const RECT& rect = layout.rects[i];
    LONG lack = roomFor(kControls[i], rect.right - rect.left).height - (rect.bottom - rect.top);
    if (lack <= 0) continue;
    grownInPlace[i] = std::min(lack, FreeBelow(i, scale, layout.rects));
    lack -= grownInPlace[i];
    if (lack > 0) inserted[rect.bottom] = std::max(inserted[rect.bottom], lack);
  }
  // Every y moves down by what is inserted at or above it.
  const auto moved = [&](LONG y) {
    LONG shift = 0;
    for (const auto& [at, height] : inserted) {
      if (at <= y) shift += height;
    }
    return y + shift;
  };
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    RECT& rect = layout.rects[i];
    rect = RECT{rect.left, moved(rect.top), rect.right, moved(rect.bottom) + grownInPlace[i]};
  }
  layout.client.cy = moved(layout.client.cy);
  return layout;
}

}  // namespace ui
