// The window's layout against the twips table of the window's design, at 96 and 144 dpi: every
// control's rectangle is MulDiv(twips, dpi, 1440), a frame's children relative to the frame.
#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/ui/window_fixture.h"

namespace ui {
namespace {

// The design, written out again here rather than read from the code's table, so that a wrong
// entry there is caught.
struct Expected {
  int id;
  const wchar_t* className;
  int left, top, width, height;
  int frameId;  // 0: placed on the window
};

constexpr Expected kDesign[] = {
    {kFrame1Id, L"Button", 120, 120, 4575, 1815, 0},
    {kLabel2Id, L"Static", 120, 240, 4335, 495, kFrame1Id},
    {kTxtStandardProjectId, L"Edit", 360, 960, 3615, 285, 0},
    {kBrowseId, L"Button", 4080, 960, 495, 285, 0},
    {kConvertButtonId, L"Button", 360, 1440, 1335, 375, 0},
    {kFrame2Id, L"Button", 120, 2040, 4575, 2055, 0},
    {kLabel1Id, L"Static", 120, 240, 4215, 735, kFrame2Id},
    {kLabel3Id, L"Static", 120, 1080, 4215, 735, kFrame2Id},
    {kStbMainId, L"msctls_statusbar32", 0, 4425, 4830, 375, 0},
};

int Px(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

bool IsLabel(int id) { return id == kLabel1Id || id == kLabel2Id || id == kLabel3Id; }

class Form1LayoutTest : public Form1Fixture, public testing::WithParamInterface<UINT> {
 protected:
  void ExpectLayout(UINT dpi) {
    ASSERT_EQ(form_->Dpi(), dpi);
    RECT client{};
    GetClientRect(form_->hwnd(), &client);
    EXPECT_EQ(client.right, Px(4830, dpi));
    EXPECT_EQ(client.bottom, Px(4800, dpi));

    for (const Expected& control : kDesign) {
      SCOPED_TRACE(testing::Message() << "control " << control.id << " at " << dpi << " dpi");
      HWND child = Child(control.id);
      ASSERT_NE(child, nullptr);
      wchar_t className[64]{};
      GetClassNameW(child, className, 64);
      EXPECT_EQ(_wcsicmp(className, control.className), 0) << std::wstring(className);

      RECT rect = RectIn(child, form_->hwnd());
      if (control.frameId != 0) {
        const RECT frame = RectIn(Child(control.frameId), form_->hwnd());
        OffsetRect(&rect, -frame.left, -frame.top);
      }
      EXPECT_EQ(rect.left, Px(control.left, dpi));
      EXPECT_EQ(rect.top, Px(control.top, dpi));
      EXPECT_EQ(rect.right - rect.left, Px(control.width, dpi));
      const int height = rect.bottom - rect.top;
      if (control.id == kStbMainId) {
        // Docked: its bottom is the client's even where the rounding would overshoot by one.
        EXPECT_EQ(rect.bottom, client.bottom);
        EXPECT_LE(std::abs(height - Px(control.height, dpi)), 1);
      } else if (IsLabel(control.id)) {
        // A label may grow to show every wrapped line of a larger message font.
        EXPECT_GE(height, Px(control.height, dpi));
      } else {
        EXPECT_EQ(height, Px(control.height, dpi));
      }
    }
  }
};

TEST_P(Form1LayoutTest, ControlsSitWhereTheTwipsTablePutsThem) {
  const UINT dpi = GetParam();
  ASSERT_EQ(form_->Dpi(), 96u) << "the test display is expected at 96 dpi";
  if (dpi != 96) ChangeDpi(dpi);
  ExpectLayout(dpi);
}

TEST_P(Form1LayoutTest, LabelsStayInsideTheirFramesAndApart) {
  const UINT dpi = GetParam();
  if (dpi != 96) ChangeDpi(dpi);
  const RECT frame2 = RectIn(Child(kFrame2Id), form_->hwnd());
  const RECT label1 = RectIn(Child(kLabel1Id), form_->hwnd());
  const RECT label3 = RectIn(Child(kLabel3Id), form_->hwnd());
  const RECT frame1 = RectIn(Child(kFrame1Id), form_->hwnd());
  const RECT label2 = RectIn(Child(kLabel2Id), form_->hwnd());
  const RECT field = RectIn(Child(kTxtStandardProjectId), form_->hwnd());
  EXPECT_LE(label1.bottom, label3.top);
  EXPECT_LT(label3.bottom, frame2.bottom);
  EXPECT_LT(label2.bottom, frame1.bottom);
  EXPECT_LE(label2.bottom, field.top);
}

TEST_P(Form1LayoutTest, BackAtTheFirstDpiTheLayoutIsTheSameAgain) {
  ChangeDpi(GetParam() == 96 ? 144 : 120);
  ChangeDpi(GetParam());
  ExpectLayout(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpis, Form1LayoutTest, testing::Values(96u, 144u));

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
