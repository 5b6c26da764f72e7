// The system's message font set as the user's text-size setting sets it: through
// SPI_SETNONCLIENTMETRICS, written to the user's profile, so that programs started later have it
// too, and announced to every open window.
#pragma once

#include "platform/win32_headers.h"

namespace ui {

// The message font that the window's twips table was drawn for, at that DPI: Tahoma, 11 pixels at
// 96 dpi, as Wine's own message font is. Tahoma comes with every Windows and with every prefix
// that scripts/wine-run makes, so that a test laid out in it needs neither the system's font nor
// its face. Fit to be a Form1's MessageFontSource.
bool DesignMessageFont(UINT dpi, LOGFONTW& font);

// Sets the message font to that height at 96 dpi (scaled to the system's DPI, as the setting
// does) in that face, or in the face it has where face is nullptr; false where the system
// refused. announce: WM_SETTINGCHANGE goes to every top-level window.
bool SetMessageFont(int heightAt96, const wchar_t* face, bool announce);

// Puts the non-client metrics it found back when it goes, unannounced.
class ScopedMetricsRestore {
 public:
  ScopedMetricsRestore();
  ScopedMetricsRestore(const ScopedMetricsRestore&) = delete;
  ScopedMetricsRestore& operator=(const ScopedMetricsRestore&) = delete;
  ~ScopedMetricsRestore();

  const NONCLIENTMETRICSW& saved() const { return saved_; }

 private:
  NONCLIENTMETRICSW saved_{};
  bool valid_;
};

}  // namespace ui
