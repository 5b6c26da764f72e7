// The colour that the status text is drawn in, read from the pixels drawn: the visual style's for
// the pane where the status bar has one, else the system's. Wine's own style gives the pane no
// text colour, so a stand-in style with one, and one without, tells the two apart.
#include "ui/status_bar.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/scoped_win32.h"
#include "tests/ui/window_fixture.h"
#include "ui/form1_layout.h"

#include <vssym32.h>

namespace ui {
namespace {

constexpr COLORREF kStandInTextColour = RGB(0x12, 0x80, 0x34);

// A visual style that paints a white background and gives the pane, and nothing else, a text
// colour, as a style's file gives its parts' properties; or no part any.
HTHEME WINAPI StandInTheme(HWND) { return reinterpret_cast<HTHEME>(1); }
HRESULT WINAPI StandInBackground(HTHEME, HDC dc, int, int, const RECT* rect, const RECT*) {
  return FillRect(dc, rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))) ? S_OK : E_FAIL;
}
HRESULT WINAPI StandInContent(HTHEME, HDC, int, int, const RECT* rect, RECT* content) {
  *content = *rect;
  return S_OK;
}
// E_PROP_ID_UNSUPPORTED, where the style does not give the property.
const HRESULT kNoSuchProperty = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
HRESULT WINAPI PaneTextColour(HTHEME, int part, int state, int property, COLORREF* colour) {
  if (part != SP_PANE || state != 0 || property != TMT_TEXTCOLOR) return kNoSuchProperty;
  *colour = kStandInTextColour;
  return S_OK;
}
HRESULT WINAPI NoColour(HTHEME, int, int, int, COLORREF*) { return kNoSuchProperty; }
StatusBarTheme StandIn() {
  return {StandInTheme, StandInBackground, StandInContent, PaneTextColour};
}
StatusBarTheme StandInWithoutColour() {
  return {StandInTheme, StandInBackground, StandInContent, NoColour};
}

COLORREF ButtonText(HWND) { return GetSysColor(COLOR_BTNTEXT); }
COLORREF StandInColour(HWND) { return kStandInTextColour; }
// What the status bar's own visual style gives its pane.
COLORREF ItsStylesColour(HWND statusBar) {
  COLORREF colour = 0;
  const HTHEME theme = GetWindowTheme(statusBar);
  return SUCCEEDED(GetThemeColor(theme, SP_PANE, 0, TMT_TEXTCOLOR, &colour))
             ? colour
             : ButtonText(statusBar);
}

struct ColourCase {
  const char* what;
  StatusBarTheme (*functions)();
  bool classic;  // visual styles turned off for the status bar
  COLORREF (*expected)(HWND statusBar);
};

std::ostream& operator<<(std::ostream& out, const ColourCase& c) { return out << c.what; }

// What DrawFittedStatusText draws, pixel by pixel.
std::vector<COLORREF> Drawn(HWND statusBar, const wchar_t* text, const StatusBarTheme& theme) {
  RECT client{};
  GetClientRect(statusBar, &client);
  const platform::ScopedWindowDc screen = platform::GetWindowDc(statusBar);
  HDC dc = CreateCompatibleDC(screen.get().handle);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get().handle, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DrawFittedStatusText(statusBar, dc, text, theme);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

class StatusTextColourTest : public Form1Fixture, public testing::WithParamInterface<ColourCase> {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    if (HasFatalFailure()) return;
    statusBar_ = Child(kStatusBarId);
    // Not smoothed, so that every pixel of the text is the text's colour. Kept until after the
    // window has gone.
    font_ = platform::ScopedFont(CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                             NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (GetParam().classic) {
      // A name that matches no style's section, as the page on SetWindowTheme advises (Wine 8
      // refuses the empty name, which it cannot make an atom of).
      ASSERT_EQ(SetWindowTheme(statusBar_, L" ", L" "), S_OK);
      ASSERT_EQ(GetWindowTheme(statusBar_), nullptr) << "the status bar kept its visual style";
    } else if (GetParam().functions == UxThemeFunctions && GetWindowTheme(statusBar_) == nullptr) {
      GTEST_SKIP() << "visual styles are off here";
    }
  }

  platform::ScopedFont font_;
  HWND statusBar_ = nullptr;
};

TEST_P(StatusTextColourTest, TheTextIsInThePanesColour) {
  const StatusBarTheme theme = GetParam().functions();
  const std::vector<COLORREF> background = Drawn(statusBar_, L"", theme);
  const std::vector<COLORREF> withText = Drawn(statusBar_, L"Complete!", theme);
  ASSERT_EQ(background.size(), withText.size());
  std::set<COLORREF> text;
  for (std::size_t i = 0; i < withText.size(); ++i) {
    if (withText[i] != background[i]) text.insert(withText[i]);
  }
  EXPECT_EQ(text, std::set<COLORREF>{GetParam().expected(statusBar_)});
  // The classic look is the system's colours throughout.
  if (GetParam().classic) {
    EXPECT_EQ(background[background.size() / 2], GetSysColor(COLOR_3DFACE));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StatusTextColourTest,
    testing::Values(
        ColourCase{"the system's visual style", UxThemeFunctions, false, ItsStylesColour},
        ColourCase{"visual styles off", UxThemeFunctions, true, ButtonText},
        ColourCase{"a style with a text colour for the pane", StandIn, false, StandInColour},
        ColourCase{"a style without one", StandInWithoutColour, false, ButtonText}));

}  // namespace
}  // namespace ui
