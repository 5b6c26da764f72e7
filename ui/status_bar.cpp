#include "ui/status_bar.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <cwchar>
#include <memory>

#include "platform/scoped_win32.h"
#include "ui/dpi.h"
#include "ui/window_text.h"

namespace ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// The gap before the text, as the status bar leaves it, in pixels at 96 dpi.
constexpr int kTextIndent = 3;
constexpr UINT kTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
// DT_MODIFYSTRING may lengthen the text by that many characters.
constexpr std::size_t kEllipsisRoom = 4;

// The status bar's visual style, where it has one and the functions to draw it are there.
struct Theme {
  static Theme Of(HWND window, const StatusBarTheme& functions) {
    Theme theme{nullptr, functions};
    if (functions.getWindowTheme != nullptr && functions.drawBackground != nullptr &&
        functions.contentRect != nullptr) {
      theme.handle = functions.getWindowTheme(window);
    }
    return theme;
  }

  // The style's text colour for the pane, else the button text's, as the control draws it.
  COLORREF PaneTextColour() const {
    COLORREF colour = 0;
    if (functions.color != nullptr &&
        SUCCEEDED(functions.color(handle, SP_PANE, 0, TMT_TEXTCOLOR, &colour))) {
      return colour;
    }
    return GetSysColor(COLOR_BTNTEXT);
  }

  HTHEME handle;
  const StatusBarTheme& functions;
};

// What the subclass keeps: the tooltip, made the first time a text is cut, and what it shows.
struct FittedStatusBar {
  HWND tip = nullptr;
  std::wstring tipText;
  bool tipRefused = false;  // the tooltip would not take its tool: none is made again
};

// What to draw, and how it gives way. A path gives way in its middle (DT_PATH_ELLIPSIS keeps the
// text after the last backslash: the file's name and the reason that follows it); where even
// that does not fit, it is drawn from the ellipsis on, giving way at its end. A text without a
// path gives way at its end.
struct Fitted {
  std::wstring text;
  UINT ellipsis;
};

Fitted FitInto(HDC dc, std::wstring_view text, int width) {
  const std::size_t lastBackslash = text.rfind(L'\\');
  if (lastBackslash == std::wstring_view::npos) return Fitted{std::wstring(text), DT_END_ELLIPSIS};
  std::wstring kept = L"..." + std::wstring(text.substr(lastBackslash));
  SIZE size{};
  if (GetTextExtentPoint32W(dc, kept.c_str(), static_cast<int>(kept.size()), &size) &&
      size.cx <= width) {
    return Fitted{std::wstring(text), DT_PATH_ELLIPSIS};
  }
  return Fitted{std::move(kept), DT_END_ELLIPSIS};
}

TTTOOLINFOW ToolFor(HWND statusBar, const std::wstring& text) {
  TTTOOLINFOW tool{};
  // The size that both versions of the common controls take: version 5.82 may refuse
  // sizeof(TTTOOLINFOW), which counts the lpReserved that version 6 added.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(statusBar);
  tool.uId = reinterpret_cast<UINT_PTR>(statusBar);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  return tool;
}

// The tooltip shows `text` from now on; "" shows none.
void ShowInTip(HWND statusBar, FittedStatusBar& state, const std::wstring& text) {
  if (text == state.tipText || state.tipRefused) return;
  if (state.tip == nullptr) {
    state.tip = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(statusBar), nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(statusBar, GWLP_HINSTANCE)), nullptr);
    if (state.tip == nullptr) return;
    const TTTOOLINFOW tool = ToolFor(statusBar, L"");
    if (!SendMessageW(state.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      // A tooltip without its tool would never show. The control that refused it once would
      // refuse it again.
      DestroyWindow(state.tip);
      state.tip = nullptr;
      state.tipRefused = true;
      return;
    }
  }
  const TTTOOLINFOW tool = ToolFor(statusBar, text);
  SendMessageW(state.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // A long text wraps at the status bar's width rather than running off the screen.
  RECT client{};
  GetClientRect(statusBar, &client);
  SendMessageW(state.tip, TTM_SETMAXTIPWIDTH, 0, client.right);
  state.tipText = text;
}

void Paint(HWND statusBar, HDC dc, FittedStatusBar& state) {
  const std::wstring text = WindowText(statusBar);
  ShowInTip(statusBar, state, DrawFittedStatusText(statusBar, dc, text) != text ? text : L"");
}

LRESULT CALLBACK FittedStatusBarProc(HWND statusBar, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
  FittedStatusBar& state = *reinterpret_cast<FittedStatusBar*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole control
    case WM_PAINT:
      if (wParam == 0) {
        PAINTSTRUCT paint{};
        if (HDC dc = BeginPaint(statusBar, &paint)) {
          Paint(statusBar, dc, state);
          EndPaint(statusBar, &paint);
        }
        return 0;
      }
      [[fallthrough]];  // a common control paints into the DC it is given
    case WM_PRINTCLIENT:
      Paint(statusBar, reinterpret_cast<HDC>(wParam), state);
      return 0;
    case WM_DESTROY:
      if (IsWindow(state.tip)) DestroyWindow(state.tip);
      state.tip = nullptr;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(statusBar, FittedStatusBarProc, kSubclassId);
      delete &state;
      break;
    default:
      break;
  }
  return DefSubclassProc(statusBar, message, wParam, lParam);
}

}  // namespace

bool DrawStatusBarFitted(HWND statusBar) {
  auto state = std::make_unique<FittedStatusBar>();
  if (!SetWindowSubclass(statusBar, FittedStatusBarProc, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(state.get()))) {
    return false;
  }
  state.release();  // the subclass deletes it when the status bar goes
  InvalidateRect(statusBar, nullptr, TRUE);
  return true;
}

StatusBarTheme UxThemeFunctions() {
  HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
  return StatusBarTheme{
      platform::LibraryFunction<StatusBarTheme::GetWindowThemeFn>(uxtheme, "GetWindowTheme"),
      platform::LibraryFunction<StatusBarTheme::DrawBackgroundFn>(uxtheme, "DrawThemeBackground"),
      platform::LibraryFunction<StatusBarTheme::ContentRectFn>(uxtheme,
                                                               "GetThemeBackgroundContentRect"),
      platform::LibraryFunction<StatusBarTheme::ColorFn>(uxtheme, "GetThemeColor")};
}

std::wstring DrawFittedStatusText(HWND statusBar, HDC dc, std::wstring_view text,
                                  const StatusBarTheme& functions) {
  // The one part's pane: the client area less the status bar's borders above and to the left.
  // (SB_GETRECT is no help here: the control brings its parts' bounds up to date as it paints.)
  RECT client{};
  GetClientRect(statusBar, &client);
  RECT room = client;
  int borders[3]{};
  if (SendMessageW(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders))) {
    room.left += borders[0];
    room.top += borders[1];
  }
  COLORREF textColour = GetSysColor(COLOR_BTNTEXT);
  if (const Theme theme = Theme::Of(statusBar, functions); theme.handle != nullptr) {
    functions.drawBackground(theme.handle, dc, 0, 0, &client, nullptr);
    const RECT pane = room;
    functions.drawBackground(theme.handle, dc, SP_PANE, 0, &pane, nullptr);
    functions.contentRect(theme.handle, dc, SP_PANE, 0, &pane, &room);
    textColour = theme.PaneTextColour();
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    const auto type = HIWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0));
    DrawEdge(dc, &room, (type & SBT_NOBORDERS) != 0 ? 0 : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  room.left += MulDiv(kTextIndent, static_cast<int>(WindowDpi(statusBar)), kBaseDpi);
  if (text.empty()) return std::wstring();

  auto font = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const platform::ScopedSelection selection = platform::SelectInto(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, textColour);
  auto [drawn, ellipsis] = FitInto(dc, text, room.right - room.left);
  drawn.append(kEllipsisRoom, L'\0');
  DrawTextW(dc, drawn.data(), -1, &room, kTextFormat | DT_MODIFYSTRING | ellipsis);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  drawn.resize(std::wcslen(drawn.c_str()));
  return drawn;
}

}  // namespace ui
