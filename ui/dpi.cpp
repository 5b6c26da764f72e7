#include "ui/dpi.h"

#include <initializer_list>

namespace ui {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI, the DPI that the user's scaling gives

// A user32 function that older systems lack, or nullptr.
template <typename Fn>
Fn User32Function(const char* name) {
  return platform::LibraryFunction<Fn>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

UINT SystemDpi() {
  const platform::ScopedWindowDc screen = platform::GetWindowDc(nullptr);
  if (!screen.valid()) return kBaseDpi;
  const int dpi = GetDeviceCaps(screen.get().handle, LOGPIXELSY);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
  // Loaded once and kept: the window asks again on every layout.
  static const platform::ScopedLibrary shcore = platform::LoadSystemLibrary(L"shcore.dll");
  static const auto getDpiForMonitor =
      platform::LibraryFunction<GetDpiForMonitorFn>(shcore.get(), "GetDpiForMonitor");
  UINT x = 0;
  UINT y = 0;
  if (getDpiForMonitor == nullptr || monitor == nullptr ||
      FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y))) {
    return 0;
  }
  return y;
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
  }
  // Before GetDpiForWindow, the window's monitor still has a DPI of its own.
  if (const UINT dpi = MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); dpi != 0) {
    return dpi;
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

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto metricForDpi =
      User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (metricForDpi != nullptr) return metricForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

bool GetNonClientMetrics(UINT dpi, NONCLIENTMETRICSW& metrics) {
  static const auto parametersForDpi =
      User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  metrics = NONCLIENTMETRICSW{};
  metrics.cbSize = sizeof(metrics);
  if (parametersForDpi != nullptr &&
      parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return true;
  }
  // The older call answers for the system DPI only; scale its fonts to the window's.
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
  const int systemDpi = static_cast<int>(SystemDpi());
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont}) {
    font->lfHeight = MulDiv(font->lfHeight, static_cast<int>(dpi), systemDpi);
  }
  return true;
}

bool GetMessageFont(UINT dpi, LOGFONTW& font) {
  NONCLIENTMETRICSW metrics;
  if (!GetNonClientMetrics(dpi, metrics)) return false;
  font = metrics.lfMessageFont;
  return true;
}

platform::ScopedFont CreateMessageFont(UINT dpi, LOGFONTW& font, MessageFontSource source) {
  font = LOGFONTW{};
  if (!source(dpi, font)) {
    font = LOGFONTW{};
    return platform::ScopedFont{};
  }
  return platform::ScopedFont(CreateFontIndirectW(&font));
}

}  // namespace ui
