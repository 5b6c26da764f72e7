// What the start-up yardsticks share: a top-level window that ends the program when it is closed,
// and the message loop that keeps it.
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
