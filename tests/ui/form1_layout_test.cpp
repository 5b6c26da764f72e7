// The laid-out window at 96, 144 and 192 dpi at the design font, checked for what a user sees:
// exactly the twips table, every text whole, nothing over anything else but what a frame holds,
// the whole window scaled with the DPI. And the layout's arithmetic where a text needs more room
// than the table gives it.
#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "tests/ui/layout_checks.h"
#include "tests/ui/window_fixture.h"

namespace ui {
namespace {

class Form1LayoutTest : public Form1Fixture, public testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    if (HasFatalFailure()) return;
    // From 96 dpi, whatever the display's.
    if (form_->Dpi() != 96) ChangeDpi(96);
    ASSERT_EQ(form_->Dpi(), 96u);
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

TEST_P(Form1LayoutTest, AtTheDesignFontTheWindowIsTheTwipsTable) {
  ExpectTheTwipsTable(form_->hwnd(), GetParam());
  RECT client{};
  GetClientRect(form_->hwnd(), &client);
  // 15 twips a pixel at 96 dpi, 10 at 144.
  const SIZE expected = GetParam() == 96    ? SIZE{322, 320}
                        : GetParam() == 144 ? SIZE{483, 480}
                                            : SIZE{644, 640};
  EXPECT_EQ(client.right, expected.cx);
  EXPECT_EQ(client.bottom, expected.cy);
}

TEST_P(Form1LayoutTest, EveryTextIsWholeAndNoControlCoversAnother) {
  const LayoutFigures figures = ExpectSoundLayout(form_->hwnd(), GetParam());
  std::printf("design font at %u dpi: client %ldx%ld, largest overflow %d\n", GetParam(),
              figures.client.cx, figures.client.cy, figures.largestOverflow);
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
    if (row.kind != ControlKind::kLabel) {
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

// A text that needs more room than the table gives it, at 96 dpi and the design font.
struct GrowthCase {
  const char* what;
  int id;          // the control whose text needs more
  TextRoom extra;  // beyond the table's size
  LONG moveDown;   // what the client area gains in height, and how far what lies below moves
};

class LayoutGrowthTest : public testing::TestWithParam<GrowthCase> {};

TEST_P(LayoutGrowthTest, TheControlGetsItsRoomAndWhatLiesBelowMovesDown) {
  const GrowthCase& c = GetParam();
  SCOPED_TRACE(c.what);
  const Scale scale = FontScale(96, kDesignEmHeight);
  const Form1Layout table = LayOutForm1(scale, [](const ControlRow&, int) { return TextRoom{}; });
  const auto index = [](int id) {
    return static_cast<std::size_t>(FindControl(id) - Form1Controls().data());
  };
  const RECT grown = table.rects[index(c.id)];
  const Form1Layout layout = LayOutForm1(scale, [&](const ControlRow& row, int) {
    if (row.id != c.id) return TextRoom{};
    return TextRoom{c.extra.width > 0 ? grown.right - grown.left + c.extra.width : 0,
                    grown.bottom - grown.top + c.extra.height};
  });
  EXPECT_EQ(layout.client.cy - table.client.cy, c.moveDown);
  const RECT& now = layout.rects[index(c.id)];
  EXPECT_EQ(now.right - now.left, grown.right - grown.left + c.extra.width);
  EXPECT_EQ(now.bottom - now.top, grown.bottom - grown.top + c.extra.height);
  ExpectArranged([&](int id) { return layout.rects[index(id)]; }, layout.client);
  // Room across is made by widening the whole layout, by whatever share that takes.
  if (c.extra.width != 0) return;
  EXPECT_EQ(layout.client.cx, table.client.cx);
  for (const ControlRow& row : Form1Controls()) {
    if (row.id == c.id) continue;
    SCOPED_TRACE(testing::Message() << "control " << row.id);
    const RECT& before = table.rects[index(row.id)];
    const RECT& after = layout.rects[index(row.id)];
    // Below the grown control's bottom, every edge moves down by the same; above, none moves.
    const auto expected = [&](LONG y) { return y >= grown.bottom ? y + c.moveDown : y; };
    EXPECT_EQ(after.top, expected(before.top));
    EXPECT_EQ(after.bottom, expected(before.bottom));
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right, before.right);
  }
}

const GrowthCase kGrowthCases[] = {
    // The label over the field takes the 7 pixels above the field first; then the field, the
    // buttons and all below move, and Frame1 grows.
    {"label over the field", kProjectHintId, {0, 30}, 23},
    // The backup warning, last on its frame, takes the frame's free 8 pixels first; then the
    // frame's bottom and the status bar move.
    {"backup warning", kBackupNoteId, {0, 17}, 9},
    {"backup warning within its frame", kBackupNoteId, {0, 8}, 0},
    // The status bar's line: the client area grows beneath it.
    {"status bar", kStatusBarId, {0, 5}, 5},
    // A button's text too wide: the button is as wide as its text, and nothing comes to overlap.
    {"Browse too narrow", kBrowseButtonId, {33, 0}, 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, LayoutGrowthTest, testing::ValuesIn(kGrowthCases));

}  // namespace
}  // namespace ui
