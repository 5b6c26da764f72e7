// DPI and font helpers for a per-monitor aware window. The newer DPI functions of user32 are
// looked up at run time, so that the program still starts where they are absent; there the
// system DPI and the older functions stand in.
#pragma once

#include <utility>

#include "platform/win32_headers.h"

namespace ui {

inline constexpr UINT kBaseDpi = 96;

// The DPI of the system's primary display, which new windows take unless placed on another.
UINT SystemDpi();

// The DPI that the window is shown at.
UINT WindowDpi(HWND window);

// The window rectangle, at the origin, whose client area has that size at that DPI.
RECT WindowRectForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// Owns one GDI font; deletes it when replaced or destroyed.
class UniqueFont {
 public:
  UniqueFont() = default;
  explicit UniqueFont(HFONT font) : font_(font) {}
  UniqueFont(UniqueFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  UniqueFont& operator=(UniqueFont&& other) noexcept;
  UniqueFont(const UniqueFont&) = delete;
  UniqueFont& operator=(const UniqueFont&) = delete;
  ~UniqueFont();

  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// The system's message font as it is drawn at that DPI; an empty owner if none can be made.
UniqueFont CreateMessageFont(UINT dpi);

}  // namespace ui
