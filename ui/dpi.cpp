#include "ui/dpi.h"

#include "ui/scoped_gdi.h"
#include "ui/scoped_library.h"

namespace ui {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A user32 function that older systems lack, or nullptr.
template <typename Fn>
Fn User32Function(const char* name) {
  return LibraryFunction<Fn>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

UINT SystemDpi() {
  const ScopedWindowDc screen = GetWindowDc(nullptr);
  if (!screen.valid()) return kBaseDpi;
  const int dpi = GetDeviceCaps(screen.get().handle, LOGPIXELSY);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
  }
  return SystemDpi();
}

RECT WindowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
    rect = RECT{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  OffsetRect(&rect, -rect.left, -rect.top);
  return rect;
}

UniqueFont CreateMessageFont(UINT dpi) {
  static const auto parametersForDpi =
      User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (parametersForDpi != nullptr &&
      parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  // The older call answers for the system DPI only; scale its height to the window's.
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return UniqueFont(CreateFontIndirectW(&font));
  }
  return UniqueFont{};
}

}  // namespace ui
