// A real Form1 on the test's own thread, for the in-process window tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/win32_headers.h"
#include "ui/form1.h"

#include <commctrl.h>

namespace ui {

class Form1Fixture : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // These tests never convert: a file service asked for is a fault of the window.
    form_ = std::make_unique<Form1>(
        []() -> std::unique_ptr<platform::FileSystemObject> {
          ADD_FAILURE() << "the window asked for the file services";
          throw platform::Failure(platform::kInternalError, "no file services in this test");
        },
        /*endsProgram=*/false);
    ASSERT_TRUE(form_->Create(GetModuleHandleW(nullptr))) << GetLastError();
  }

  void TearDown() override { form_.reset(); }

  HWND Child(int id) const { return form_->Control(id); }

  // The child's rectangle in the client coordinates of `relativeTo`.
  static RECT RectIn(HWND child, HWND relativeTo) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  static std::wstring Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

  std::unique_ptr<Form1> form_;
};

}  // namespace ui
