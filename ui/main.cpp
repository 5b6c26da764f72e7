// The program's start: shows Form1 with a fresh UpgradeState and runs its messages until the
// window is closed. The program takes no command line.
#include "platform/win32_headers.h"

#include <commctrl.h>

#include <string>

#include "platform/file_system_object.h"
#include "ui/app_name.h"
#include "ui/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  ui::Form1 form(platform::CreatePlatformFileSystem);
  if (!form.Create(instance)) {
    const std::wstring text =
        L"The window could not be created (error " + std::to_wstring(GetLastError()) + L").";
    MessageBoxW(nullptr, text.c_str(), ui::RunningAppName().c_str(), MB_OK);
    return 1;
  }
  ShowWindow(form.hwnd(), show);
  UpdateWindow(form.hwnd());

  MSG message{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // Tab and Shift+Tab move the focus; Enter and Esc become commands that the window ignores.
    if (form.hwnd() != nullptr && IsDialogMessageW(form.hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}
