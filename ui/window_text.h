// A window's or a control's text, whatever its length.
#pragma once

#include <string>

#include "platform/win32_headers.h"

namespace ui {

inline std::wstring WindowText(HWND window) {
  // The length is an upper bound; the copy tells the real one.
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace ui
