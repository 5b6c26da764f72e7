// The laid-out window at 96, 144 and 192 dpi, checked for what a user sees rather than against the
// layout table's numbers: each control where the layout function puts it, inside the client area,
// apart from its siblings unless a frame holds it whole, with its text whole in view, and the
// whole window scaled with the DPI.
#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "tests/ui/window_fixture.h"

namespace ui {
namespace {

bool IsLabel(const ControlRow& row) { return _wcsicmp(row.className, L"Static") == 0; }

bool IsFrame(const ControlRow& row) {
  return _wcsicmp(row.className, L"Button") == 0 &&
         (row.style & BS_TYPEMASK) == static_cast<DWORD>(BS_GROUPBOX);
}

// `inner` lies within the frame's edge lines.
bool Inside(const RECT& inner, const RECT& frame) {
  return inner.left > frame.left && inner.top > frame.top && inner.right < frame.right &&
         inner.bottom < frame.bottom;
}

// The size of the control's text in its own font, wrapped at `width` where `wrap`.
SIZE TextSize(HWND control, int width, bool wrap) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  if (text.empty()) text = L"Ag";  // an empty field must still show a line
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT bounds{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &bounds,
            DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

class Form1LayoutTest : public Form1Fixture, public testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(form_->Dpi(), 96u) << "the test display is expected at 96 dpi";
    at96_ = Rects();
    if (GetParam() != 96) ChangeDpi(GetParam());
    ASSERT_EQ(form_->Dpi(), GetParam());
  }

  // Every control's rectangle in the window's client coordinates, by id.
  std::map<int, RECT> Rects() const {
    std::map<int, RECT> rects;
    for (const ControlRow& row : Form1Controls())
      rects[row.id] = RectIn(Child(row.id), form_->hwnd());
    return rects;
  }

  std::map<int, RECT> at96_;
};

TEST_P(Form1LayoutTest, EveryControlStandsWhereTheLayoutPutsIt) {
  const UINT dpi = GetParam();
  RECT client{};
  GetClientRect(form_->hwnd(), &client);
  const SIZE size = ClientPixelSize(dpi);
  EXPECT_EQ(client.right, size.cx);
  EXPECT_EQ(client.bottom, size.cy);

  for (const ControlRow& row : Form1Controls()) {
    SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << dpi << " dpi");
    HWND child = Child(row.id);
    ASSERT_NE(child, nullptr);
    wchar_t className[64]{};
    GetClassNameW(child, className, 64);
    EXPECT_EQ(_wcsicmp(className, row.className), 0) << std::wstring(className);

    const RECT rect = RectIn(child, form_->hwnd());
    const RECT laid = ControlPixelRect(row, dpi);
    EXPECT_EQ(rect.left, laid.left);
    EXPECT_EQ(rect.top, laid.top);
    EXPECT_EQ(rect.right, laid.right);
    if (row.dockedBottom) {
      // Its bottom is the client's even where the rounding would overshoot by one.
      EXPECT_EQ(rect.bottom, client.bottom);
      EXPECT_LE(std::abs((rect.bottom - rect.top) - (laid.bottom - laid.top)), 1);
    } else if (IsLabel(row)) {
      // A label may grow to show every wrapped line of a larger message font.
      EXPECT_GE(rect.bottom, laid.bottom);
    } else {
      EXPECT_EQ(rect.bottom, laid.bottom);
    }
  }
}

TEST_P(Form1LayoutTest, ControlsLieInTheClientAreaApartOrWhollyInAFrame) {
  RECT client{};
  GetClientRect(form_->hwnd(), &client);
  const std::map<int, RECT> rects = Rects();
  for (const ControlRow& row : Form1Controls()) {
    const RECT& rect = rects.at(row.id);
    RECT clipped{};
    IntersectRect(&clipped, &rect, &client);
    EXPECT_TRUE(EqualRect(&clipped, &rect)) << "control " << row.id << " leaves the client area";
    EXPECT_FALSE(IsRectEmpty(&rect)) << "control " << row.id << " has no area";
  }
  for (const ControlRow& a : Form1Controls()) {
    for (const ControlRow& b : Form1Controls()) {
      if (a.id >= b.id) continue;
      SCOPED_TRACE(testing::Message() << "controls " << a.id << " and " << b.id);
      const RECT& ra = rects.at(a.id);
      const RECT& rb = rects.at(b.id);
      RECT common{};
      if (!IntersectRect(&common, &ra, &rb)) continue;
      EXPECT_TRUE((IsFrame(a) && Inside(rb, ra)) || (IsFrame(b) && Inside(ra, rb)))
          << "overlap without a frame holding one whole";
    }
  }
  // What a frame holds in the table is drawn on it.
  for (const ControlRow& row : Form1Controls()) {
    if (row.parentId != 0) {
      EXPECT_TRUE(Inside(rects.at(row.id), rects.at(row.parentId))) << "control " << row.id;
    }
  }
}

TEST_P(Form1LayoutTest, EveryControlShowsItsWholeText) {
  for (const ControlRow& row : Form1Controls()) {
    if (IsFrame(row) || row.dockedBottom) continue;
    SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << GetParam() << " dpi");
    HWND control = Child(row.id);
    RECT inner{};
    GetClientRect(control, &inner);
    const SIZE text = TextSize(control, inner.right, IsLabel(row));
    EXPECT_GT(text.cy, 0) << "nothing measured";
    EXPECT_LE(text.cx, inner.right);
    EXPECT_LE(text.cy, inner.bottom);
  }
}

TEST_P(Form1LayoutTest, EverythingScalesWithTheDpi) {
  const int dpi = static_cast<int>(GetParam());
  const std::map<int, RECT> rects = Rects();
  for (const ControlRow& row : Form1Controls()) {
    SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << dpi << " dpi");
    const RECT& now = rects.at(row.id);
    const RECT& then = at96_.at(row.id);
    // Each edge rounds once per placement, a frame's child twice.
    EXPECT_LE(std::abs(now.left - MulDiv(then.left, dpi, 96)), 2);
    EXPECT_LE(std::abs(now.top - MulDiv(then.top, dpi, 96)), 2);
    EXPECT_LE(std::abs(now.right - MulDiv(then.right, dpi, 96)), 2);
    if (!IsLabel(row)) {
      EXPECT_LE(std::abs(now.bottom - MulDiv(then.bottom, dpi, 96)), 2);
    }
  }
}

TEST_P(Form1LayoutTest, BackAtTheFirstDpiTheLayoutIsTheSameAgain) {
  const std::map<int, RECT> before = Rects();
  ChangeDpi(GetParam() == 96 ? 144 : 120);
  ChangeDpi(GetParam());
  const std::map<int, RECT> after = Rects();
  for (const ControlRow& row : Form1Controls()) {
    EXPECT_TRUE(EqualRect(&before.at(row.id), &after.at(row.id))) << "control " << row.id;
  }
}

INSTANTIATE_TEST_SUITE_P(Dpis, Form1LayoutTest, testing::Values(96u, 144u, 192u));

TEST(Form1ClientSizeTest, MatchesTheDesignAtCommonDpis) {
  // 15 twips a pixel at 96 dpi, 10 at 144.
  EXPECT_EQ(ClientPixelSize(96).cx, 322);
  EXPECT_EQ(ClientPixelSize(96).cy, 320);
  EXPECT_EQ(ClientPixelSize(144).cx, 483);
  EXPECT_EQ(ClientPixelSize(144).cy, 480);
}

TEST(FitLabelRectTest, GrowsOnlyAsFarAsTheNextControlOrTheFrameMargin) {
  const ControlRow& label1 = *FindControl(kLabel1Id);
  const ControlRow& label3 = *FindControl(kLabel3Id);
  const RECT table1 = ControlPixelRect(label1, 96);
  const RECT table3 = ControlPixelRect(label3, 96);
  const RECT frame2 = ControlPixelRect(*FindControl(kFrame2Id), 96);

  // A text that fits keeps the table's rectangle.
  const RECT fitting = FitLabelRect(label1, 96, 10);
  EXPECT_TRUE(EqualRect(&table1, &fitting));
  // A text one line too tall grows the label by what it needs.
  EXPECT_EQ(FitLabelRect(label1, 96, 52).bottom, table1.top + 52);
  // Far too tall: stopped by the label below, or by the frame's margin.
  EXPECT_EQ(FitLabelRect(label1, 96, 1000).bottom, table3.top);
  EXPECT_EQ(FitLabelRect(label3, 96, 1000).bottom, frame2.bottom - 8);
  EXPECT_EQ(FitLabelRect(label3, 96, 1000).top, table3.top);
}

}  // namespace
}  // namespace ui
