// set_message_font HEIGHT [FACE]: sets the message font of the Wine prefix it runs in as the
// text-size setting does, HEIGHT in pixels at 96 dpi (-11 is the design font), so that
// scripts/run can show the window at another text size.
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "tests/ui/message_font.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3) {
    std::fwprintf(stderr, L"usage: set_message_font HEIGHT [FACE]\n");
    return 2;
  }
  const int height = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  if (height == 0 || !ui::SetMessageFont(height, argc == 3 ? argv[2] : nullptr, true)) {
    std::fwprintf(stderr, L"set_message_font: the system refused %ls\n", argv[1]);
    return 1;
  }
  return 0;
}
