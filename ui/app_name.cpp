#include "ui/app_name.h"

#include "platform/win32_headers.h"

namespace ui {

std::wstring ExecutableBaseName(std::wstring_view path) {
  if (const auto slash = path.find_last_of(L"\\/:"); slash != std::wstring_view::npos) {
    path.remove_prefix(slash + 1);
  }
  // A leading dot names the file rather than starting its extension.
  if (const auto dot = path.find_last_of(L'.'); dot != std::wstring_view::npos && dot != 0) {
    path = path.substr(0, dot);
  }
  return std::wstring(path);
}

std::wstring RunningAppName() {
  // Long paths do not fit MAX_PATH; grow until the whole name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return ExecutableBaseName(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace ui
