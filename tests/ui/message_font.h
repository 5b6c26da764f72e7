// The system's message font set as the user's text-size setting sets it: through
// SPI_SETNONCLIENTMETRICS, written to the user's profile, so that programs started later have it
// too, and announced to every open window.
#pragma once

#include "platform/win32_headers.h"

namespace ui {

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
