#include "tests/ui/layout_checks.h"

#include <algorithm>
#include <string>

#include "platform/scoped_win32.h"
#include "ui/dpi.h"
#include "ui/form1_layout.h"
#include "ui/status_bar.h"
#include "ui/window_text.h"

namespace ui {
namespace {

bool IsFrame(const ControlRow& row) { return row.kind == ControlKind::kFrame; }

// `inner` lies within the frame's edge lines.
bool Inside(const RECT& inner, const RECT& frame) {
  return inner.left > frame.left && inner.top > frame.top && inner.right < frame.right &&
         inner.bottom < frame.bottom;
}

struct Measured {
  SIZE text;
  TEXTMETRICW metrics;
};

// The text's size in the control's own font, wrapped at `width` by `format`.
Measured Measure(HWND control, const std::wstring& text, int width, UINT format) {
  const platform::ScopedWindowDc dc = platform::GetWindowDc(control);
  const platform::ScopedSelection font = platform::SelectInto(
      dc.get().handle, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  Measured measured{};
  EXPECT_TRUE(font.valid()) << "no font to measure in";
  GetTextMetricsW(dc.get().handle, &measured.metrics);
  RECT bounds{0, 0, width, 0};
  DrawTextW(dc.get().handle, text.c_str(), -1, &bounds, DT_CALCRECT | DT_NOPREFIX | format);
  measured.text = SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
  return measured;
}

// By how much the control's text exceeds the room the control gives it: a label's wrapped text
// its client area, a frame's caption its width less a character's margin at each end, a button's
// text or a field's or status bar's line the inside of its edges.
int Overflow(HWND control, const ControlRow& row, UINT dpi) {
  RECT inner{};
  GetClientRect(control, &inner);
  const std::wstring text = WindowText(control);
  const int edge = SystemMetricForDpi(SM_CXEDGE, dpi);
  SIZE need{};
  if (row.kind == ControlKind::kLabel) {
    need = Measure(control, text, inner.right, DT_WORDBREAK | DT_EXPANDTABS).text;
  } else if (IsFrame(row)) {
    if (text.empty()) return 0;
    const Measured caption = Measure(control, text, 0, DT_SINGLELINE);
    need = SIZE{caption.text.cx + 2 * caption.metrics.tmAveCharWidth, 0};
  } else {
    // An empty field or status bar must still show a whole line.
    const Measured line = Measure(control, text.empty() ? L"Ag" : text, 0, DT_SINGLELINE);
    // The field's edge lies outside its client area.
    const int within = row.kind == ControlKind::kTextBox ? 0 : 2 * edge;
    const int width = row.kind == ControlKind::kButton ? line.text.cx + within : 0;
    need = SIZE{width, line.text.cy + within};
  }
  return std::max<int>({0, need.cx - inner.right, need.cy - inner.bottom});
}

void ExpectOnTheWorkArea(HWND form) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &monitor));
  RECT window{};
  GetWindowRect(form, &window);
  RECT clipped{};
  IntersectRect(&clipped, &window, &monitor.rcWork);
  EXPECT_TRUE(EqualRect(&clipped, &window)) << "the window leaves its monitor's work area";
}

// The caption in the caption font that the system draws the frame at, against the title bar
// less the icon (which rcTitleBar leaves out) and the buttons beside the caption.
void MeasureCaption(HWND form, LayoutFigures& figures) {
  const UINT frameDpi = WindowDpi(form);
  NONCLIENTMETRICSW metrics{};
  ASSERT_TRUE(GetNonClientMetrics(frameDpi, metrics));
  const platform::ScopedFont font(CreateFontIndirectW(&metrics.lfCaptionFont));
  const platform::ScopedWindowDc dc = platform::GetWindowDc(form);
  const platform::ScopedSelection selection = platform::SelectInto(dc.get().handle, font.get());
  const std::wstring caption = WindowText(form);
  SIZE extent{};
  GetTextExtentPoint32W(dc.get().handle, caption.c_str(), static_cast<int>(caption.size()),
                        &extent);
  TITLEBARINFO titleBar{};
  titleBar.cbSize = sizeof(titleBar);
  ASSERT_TRUE(GetTitleBarInfo(form, &titleBar));
  const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
  // A minimise or a maximise box brings both, the other one disabled.
  const int buttons = 1 + ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0 ? 2 : 0);
  figures.captionWidth = extent.cx;
  figures.captionRoom = titleBar.rcTitleBar.right - titleBar.rcTitleBar.left -
                        buttons * SystemMetricForDpi(SM_CXSIZE, frameDpi);
  EXPECT_LE(figures.captionWidth, figures.captionRoom) << "the caption is cut off";
}

// The status text drawn as the status bar draws it, in its font and its room.
void ExpectLongStatusKeepsFileAndReason(HWND form) {
  std::wstring folder = L"C:\\Users\\Public\\Documents";
  while (folder.size() < 200) folder += L"\\Setup projects of the customers";
  folder.resize(200);
  const std::wstring end = L"\\Project.ipr. Please make sure that this file is writable.";
  const std::wstring text = L"Error when upgrading " + folder + end;
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const std::wstring drawn = DrawFittedStatusText(GetDlgItem(form, kStatusBarId), dc, text);
  DeleteDC(dc);
  EXPECT_NE(drawn, text) << "the whole path fits";
  // The folder gives way, not the file's name nor the reason; only in a face too wide for the
  // reason does its end give way after the file's name.
  const bool wholeReason = drawn.ends_with(end);
  const bool fileName = drawn.starts_with(L"..." + end.substr(0, end.find(L". ") + 1));
  EXPECT_TRUE(wholeReason || (fileName && drawn.ends_with(L"...")))
      << "drawn as " << testing::PrintToString(drawn);
}

}  // namespace

RECT RectIn(HWND child, HWND relativeTo) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectArranged(const RectOf& rectOf, SIZE size) {
  const RECT client{0, 0, size.cx, size.cy};
  for (const ControlRow& a : Form1Controls()) {
    const RECT ra = rectOf(a.id);
    RECT clipped{};
    IntersectRect(&clipped, &ra, &client);
    EXPECT_TRUE(EqualRect(&clipped, &ra)) << "control " << a.id << " leaves the client area";
    EXPECT_FALSE(IsRectEmpty(&ra)) << "control " << a.id << " has no area";
    for (const ControlRow& b : Form1Controls()) {
      if (a.id >= b.id) continue;
      const RECT rb = rectOf(b.id);
      RECT common{};
      if (!IntersectRect(&common, &ra, &rb)) continue;
      EXPECT_TRUE((IsFrame(a) && Inside(rb, ra)) || (IsFrame(b) && Inside(ra, rb)))
          << "controls " << a.id << " and " << b.id << " overlap without a frame holding one";
    }
    // What a frame holds in the table is drawn on it.
    if (a.parentId != 0) {
      EXPECT_TRUE(Inside(ra, rectOf(a.parentId))) << "control " << a.id;
    }
  }
  const RECT status = rectOf(kStatusBarId);
  EXPECT_EQ(status.left, 0);
  EXPECT_EQ(status.right, client.right);
  EXPECT_EQ(status.bottom, client.bottom) << "the status bar is not docked at the bottom";
}

LayoutFigures ExpectSoundLayout(HWND form, UINT dpi) {
  LayoutFigures figures{};
  RECT client{};
  GetClientRect(form, &client);
  figures.client = SIZE{client.right, client.bottom};
  for (const ControlRow& row : Form1Controls()) {
    const int overflow = Overflow(GetDlgItem(form, row.id), row, dpi);
    EXPECT_EQ(overflow, 0) << "the text of control " << row.id << " is cut off";
    figures.largestOverflow = std::max(figures.largestOverflow, overflow);
  }
  ExpectArranged([form](int id) { return RectIn(GetDlgItem(form, id), form); }, figures.client);
  ExpectOnTheWorkArea(form);
  MeasureCaption(form, figures);
  ExpectLongStatusKeepsFileAndReason(form);
  return figures;
}

void ExpectTheTwipsTable(HWND form, UINT dpi) {
  const auto pixels = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, pixels(kClientWidthTwips));
  EXPECT_EQ(client.bottom, pixels(kClientHeightTwips));
  for (const ControlRow& row : Form1Controls()) {
    SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << dpi << " dpi");
    RECT rect = RectIn(GetDlgItem(form, row.id), form);
    if (row.parentId != 0) {
      const RECT frame = RectIn(GetDlgItem(form, row.parentId), form);
      OffsetRect(&rect, -frame.left, -frame.top);
    }
    EXPECT_EQ(rect.left, pixels(row.rect.left));
    EXPECT_EQ(rect.top, pixels(row.rect.top));
    EXPECT_EQ(rect.right - rect.left, pixels(row.rect.width));
    const LONG bottom = rect.top + pixels(row.rect.height);
    if (row.dockedBottom) {
      // Ends at the client's bottom, whatever the rounding of its height.
      EXPECT_EQ(rect.bottom, client.bottom);
    } else if (row.kind == ControlKind::kLabel) {
      // A label's last line may run into the free space below it, as the table's own font needs.
      EXPECT_GE(rect.bottom, bottom);
    } else {
      EXPECT_EQ(rect.bottom, bottom);
    }
  }
}

}  // namespace ui
