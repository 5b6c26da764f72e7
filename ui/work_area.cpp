#include "ui/work_area.h"

#include <algorithm>

namespace ui {
namespace {

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT At(const RECT& rect, LONG left, LONG top) {
  return RECT{left, top, left + Width(rect), top + Height(rect)};
}

}  // namespace

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT CentredOn(const RECT& window, const RECT& work) {
  return At(window, std::max(work.left, work.left + (Width(work) - Width(window)) / 2),
            std::max(work.top, work.top + (Height(work) - Height(window)) / 2));
}

RECT KeptOn(const RECT& window, const RECT& work) {
  const LONG left = std::max(work.left, std::min(window.left, work.right - Width(window)));
  const LONG top = std::max(work.top, std::min(window.top, work.bottom - Height(window)));
  return At(window, left, top);
}

void MoveWindowTo(HWND window, const RECT& place) {
  SetWindowPos(window, nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
