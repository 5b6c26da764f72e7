// What the start-up yardsticks share: a top-level window of a class of their own that ends the
// program when it is closed, and the message loop that keeps it.
#pragma once

#include "platform/win32_headers.h"

namespace bench {

inline LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of a new class of that name, with that background; nullptr on failure.
inline HWND CreateYardstickWindow(HINSTANCE instance, const wchar_t* className,
                                  const wchar_t* caption, int background, DWORD style, int width,
                                  int height) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = QuitOnDestroy;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  windowClass.lpszClassName = className;
  if (RegisterClassW(&windowClass) == 0) return nullptr;
  return CreateWindowExW(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                         nullptr, nullptr, instance, nullptr);
}

// Shows the window and handles its messages until it is closed; the program's exit code.
inline int ShowAndRun(HWND window, int show) {
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace bench
