// The yardstick for the program's start-up under Wine: a bare Win32 window with nothing in it,
// built with the same toolchain and options.
#include "bench/yardstick_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  HWND window = bench::CreateYardstickWindow(instance, L"MinimalWindow", L"Minimal window",
                                             COLOR_WINDOW, WS_OVERLAPPEDWINDOW, 400, 300);
  if (window == nullptr) return 1;
  return bench::ShowAndRun(window, show);
}
