// A real Form1 on the test's own thread, for the in-process window tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/win32_headers.h"
#include "tests/ui/message_font.h"
#include "ui/form1.h"
#include "ui/window_text.h"

#include <commctrl.h>

namespace ui {

// The window is laid out in the font that the twips table was drawn for, whatever the system's
// message font, unless a suite passes the system's own (GetMessageFont) to follow the user's text
// size.
class Form1Fixture : public testing::Test {
 protected:
  explicit Form1Fixture(MessageFontSource messageFont = DesignMessageFont)
      : messageFont_(messageFont) {}

  void SetUp() override {
    // Per-monitor aware, as the program's manifest makes the program, so that the window is laid
    // out at the display's own DPI; refused, and harmless, where a manifest has made it so.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    form_ = MakeForm1();
    ASSERT_NE(form_, nullptr);
  }

  void TearDown() override { form_.reset(); }

  // A window of its own, created; null after a failure.
  std::unique_ptr<Form1> MakeForm1() const {
    // These tests never convert: a file service asked for is a fault of the window.
    auto form = std::make_unique<Form1>(
        []() -> std::unique_ptr<platform::FileSystemObject> {
          ADD_FAILURE() << "the window asked for the file services";
          throw platform::Failure(platform::kInternalError, "no file services in this test");
        },
        /*endsProgram=*/false, messageFont_);
    if (form->Create(GetModuleHandleW(nullptr))) return form;
    ADD_FAILURE() << "the window could not be created: " << GetLastError();
    return nullptr;
  }

  HWND Child(int id) const { return form_->Control(id); }

  // Handles what was posted to the thread, as the program's message loop would: the rest of a
  // window's start among it.
  static void HandlePostedMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  // Moves the window to another DPI the way the system does, with a suggested rectangle.
  void ChangeDpi(UINT dpi) {
    RECT window{};
    GetWindowRect(form_->hwnd(), &window);
    const int oldDpi = static_cast<int>(form_->Dpi());
    RECT suggested{window.left, window.top,
                   window.left + MulDiv(window.right - window.left, static_cast<int>(dpi), oldDpi),
                   window.top + MulDiv(window.bottom - window.top, static_cast<int>(dpi), oldDpi)};
    SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  }

  const MessageFontSource messageFont_;
  std::unique_ptr<Form1> form_;
};

}  // namespace ui
