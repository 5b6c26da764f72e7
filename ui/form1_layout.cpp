#include "ui/form1_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace ui {
namespace {

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;        // SS_LEFT wraps long texts
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;  // never BS_DEFPUSHBUTTON

constexpr ControlRow Frame(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id) {
  return ControlRow{name, L"BUTTON", text, BS_GROUPBOX, 0, rect, id, 0};
}

constexpr ControlRow Label(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id,
                           int frameId) {
  return ControlRow{name, L"STATIC", text, kLabelStyle, 0, rect, id, frameId};
}

constexpr ControlRow Button(const wchar_t* name, const wchar_t* text, TwipsRect rect, int id) {
  return ControlRow{name, L"BUTTON", text, kButtonStyle, 0, rect, id, 0};
}

constexpr std::array kControls{
    Frame(L"Frame1", L"Select Project:", {120, 120, 4575, 1815}, kFrame1Id),
    Label(L"Label2",
          L"Please browse your Brenlow Professional project, then press Convert to upgrade your "
          L"project.",
          {120, 240, 4335, 495}, kLabel2Id, kFrame1Id),
    ControlRow{L"txtStandardProject",
               L"EDIT",
               L"",
               ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
               WS_EX_CLIENTEDGE,
               {360, 960, 3615, 285},
               kTxtStandardProjectId,
               0},
    Button(L"Browse", L"...", {4080, 960, 495, 285}, kBrowseId),
    Button(L"ConvertButton", L"Convert", {360, 1440, 1335, 375}, kConvertButtonId),
    Frame(L"Frame2", L"", {120, 2040, 4575, 2055}, kFrame2Id),
    Label(L"Label1",
          L"This utility upgrades your projects created in Brenlow Professional 5.0 or 5.1 to the "
          L"format of the version 5.5. So that you can migrate it to Corvale 7.",
          {120, 240, 4215, 735}, kLabel1Id, kFrame2Id),
    Label(L"Label3",
          L"Note that you will not be able to open your project in Brenlow Professional 5.0 or 5.1 "
          L"once it is converted. Please make a backup copy before running this program.",
          {120, 1080, 4215, 735}, kLabel3Id, kFrame2Id),
    // Placed by the table like every other control, docked by its rectangle; CCS_NORESIZE keeps
    // the control from choosing a height of its own.
    ControlRow{L"stbMain",
               STATUSCLASSNAMEW,
               L"",
               CCS_NOPARENTALIGN | CCS_NORESIZE,
               0,
               {0, 4425, 4830, 375},
               kStbMainId,
               0,
               true},
};

}  // namespace

std::span<const ControlRow> Form1Controls() { return kControls; }

const ControlRow* FindControl(int id) {
  for (const ControlRow& row : kControls) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

RECT ControlPixelRect(const ControlRow& row, UINT dpi) {
  int left = TwipsToPixels(row.rect.left, dpi);
  int top = TwipsToPixels(row.rect.top, dpi);
  if (const ControlRow* parent = row.parentId != 0 ? FindControl(row.parentId) : nullptr) {
    const RECT frame = ControlPixelRect(*parent, dpi);
    left += frame.left;
    top += frame.top;
  }
  RECT rect{left, top, left + TwipsToPixels(row.rect.width, dpi),
            top + TwipsToPixels(row.rect.height, dpi)};
  if (row.dockedBottom) rect.bottom = ClientPixelSize(dpi).cy;
  return rect;
}

RECT FitLabelRect(const ControlRow& row, UINT dpi, int textHeight) {
  RECT rect = ControlPixelRect(row, dpi);
  if (textHeight <= rect.bottom - rect.top) return rect;
  const ControlRow* frame = row.parentId != 0 ? FindControl(row.parentId) : nullptr;
  if (frame == nullptr) return rect;
  // The frame keeps a margin below as wide as the label's own inset from its left edge.
  LONG limit = ControlPixelRect(*frame, dpi).bottom - TwipsToPixels(row.rect.left, dpi);
  for (const ControlRow& other : kControls) {
    if (&other == &row || other.parentId != row.parentId) continue;
    const RECT otherRect = ControlPixelRect(other, dpi);
    if (otherRect.top >= rect.bottom && otherRect.top < limit) limit = otherRect.top;
  }
  rect.bottom = std::max(rect.bottom, std::min<LONG>(rect.top + textHeight, limit));
  return rect;
}

SIZE ClientPixelSize(UINT dpi) {
  return SIZE{TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
}

}  // namespace ui
