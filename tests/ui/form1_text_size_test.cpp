// The window at the text sizes a user may choose, at the display's own DPI (the test runs once in
// a Wine prefix of each DPI): the message font set as the text-size setting sets it, in Wine's
// default face and in a wider one. A window opened at that size holds every text whole, and one
// that was open when the size changed lays itself out the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/ui/layout_checks.h"
#include "tests/ui/message_font.h"
#include "tests/ui/window_fixture.h"
#include "ui/dpi.h"
#include "ui/form1_layout.h"

namespace ui {
namespace {

struct TextSize {
  int heightAt96;
  const wchar_t* face;  // nullptr: the system's own message face
  // The change reaches the open window as WM_SETTINGCHANGE with no parameter at all, as a
  // setting that does not say what it changed would send it, rather than SPI_SETNONCLIENTMETRICS.
  bool announcedBare = false;
};

std::ostream& operator<<(std::ostream& out, const TextSize& size) {
  const std::wstring face = size.face != nullptr ? size.face : L"default face";
  return out << size.heightAt96 << " " << std::string(face.begin(), face.end())
             << (size.announcedBare ? ", announced with wParam 0" : "");
}

class Form1TextSizeTest : public Form1Fixture, public testing::WithParamInterface<TextSize> {
 protected:
  Form1TextSizeTest() : Form1Fixture(GetMessageFont) {}

  static void SetUpTestSuite() {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    restore_ = std::make_unique<ScopedMetricsRestore>();
  }
  static void TearDownTestSuite() { restore_.reset(); }

  void SetUp() override {
    // The window is open at the design font when the user changes the text size.
    ASSERT_TRUE(
        SetMessageFont(-kDesignEmHeight, restore_->saved().lfMessageFont.lfFaceName, false));
    Form1Fixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(SetMessageFont(GetParam().heightAt96, Face(), !GetParam().announcedBare));
    if (GetParam().announcedBare) SendMessageW(form_->hwnd(), WM_SETTINGCHANGE, 0, 0);
    fresh_ = MakeForm1();
    ASSERT_NE(fresh_, nullptr);
  }

  void TearDown() override {
    fresh_.reset();
    Form1Fixture::TearDown();
  }

  const wchar_t* Face() const {
    return GetParam().face != nullptr ? GetParam().face
                                      : restore_->saved().lfMessageFont.lfFaceName;
  }

  static inline std::unique_ptr<ScopedMetricsRestore> restore_;
  std::unique_ptr<Form1> fresh_;  // opened at the new size
};

TEST_P(Form1TextSizeTest, AWindowOpenedAtThisSizeHoldsEveryText) {
  const UINT dpi = SystemDpi();
  ASSERT_EQ(fresh_->Dpi(), dpi);
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(fresh_->Font(), sizeof(font), &font), 0);
  EXPECT_EQ(font.lfHeight, MulDiv(GetParam().heightAt96, static_cast<int>(dpi), 96));
  EXPECT_STREQ(font.lfFaceName, Face());

  const LayoutFigures figures = ExpectSoundLayout(fresh_->hwnd(), dpi);
  // At the design font, in its face as well as its size, whatever face the system's is.
  LOGFONTW design{};
  DesignMessageFont(dpi, design);
  if (font.lfHeight == design.lfHeight && _wcsicmp(font.lfFaceName, design.lfFaceName) == 0) {
    ExpectTheTwipsTable(fresh_->hwnd(), dpi);
  }
  std::printf(
      "%u dpi, %d at 96 dpi (%ld here), %ls: client %ldx%ld, largest overflow %d, caption %d "
      "of %d\n",
      dpi, GetParam().heightAt96, font.lfHeight, Face(), figures.client.cx, figures.client.cy,
      figures.largestOverflow, figures.captionWidth, figures.captionRoom);
}

TEST_P(Form1TextSizeTest, AnOpenWindowLaysItselfOutAgainLikeANewOne) {
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(form_->Font(), sizeof(font), &font), 0);
  EXPECT_STREQ(font.lfFaceName, Face()) << "the open window kept its old font";
  RECT open{};
  RECT fresh{};
  GetClientRect(form_->hwnd(), &open);
  GetClientRect(fresh_->hwnd(), &fresh);
  EXPECT_TRUE(EqualRect(&open, &fresh));
  for (const ControlRow& row : Form1Controls()) {
    const RECT a = RectIn(form_->Control(row.id), form_->hwnd());
    const RECT b = RectIn(fresh_->Control(row.id), fresh_->hwnd());
    EXPECT_TRUE(EqualRect(&a, &b)) << "control " << row.id;
  }
  ExpectSoundLayout(form_->hwnd(), form_->Dpi());
}

TEST_P(Form1TextSizeTest, AtAnotherDpiTheWindowTakesTheSizeItAskedFor) {
  // Its answer is the rectangle that WM_DPICHANGED suggests. The test cannot move the window to a
  // display of that DPI, so its frame keeps the old size: the client areas must match.
  HWND window = fresh_->hwnd();
  const UINT dpi = fresh_->Dpi() * 3 / 2;
  SIZE asked{};
  ASSERT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&asked)));
  RECT suggested{};
  GetWindowRect(window, &suggested);
  suggested =
      RECT{suggested.left, suggested.top, suggested.left + asked.cx, suggested.top + asked.cy};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  GetClientRect(window, &client);
  const RECT taken = WindowRectForClient(
      SIZE{client.right, client.bottom}, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
      static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
  EXPECT_EQ(taken.right, asked.cx);
  EXPECT_EQ(taken.bottom, asked.cy);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Form1TextSizeTest,
                         testing::Values(TextSize{-11, nullptr}, TextSize{-12, nullptr},
                                         TextSize{-15, nullptr}, TextSize{-18, nullptr},
                                         TextSize{-24, nullptr}, TextSize{-12, L"DejaVu Sans"},
                                         TextSize{-16, L"DejaVu Sans"},
                                         TextSize{-15, nullptr, true}));

// What stands in for GetDpiForWindow where it is missing gives the same DPI.
using MonitorDpiTest = Form1Fixture;

TEST_F(MonitorDpiTest, TheMonitorsDpiIsTheWindows) {
  EXPECT_EQ(MonitorDpi(MonitorFromWindow(form_->hwnd(), MONITOR_DEFAULTTONEAREST)), form_->Dpi());
  EXPECT_EQ(form_->Dpi(), SystemDpi());
}

}  // namespace
}  // namespace ui
