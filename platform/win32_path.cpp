#include "platform/win32_path.h"

#include "platform/failure.h"
#include "platform/win32_errors.h"
#include "platform/win32_headers.h"

namespace platform {
namespace {

// CreateDirectoryW stops short of MAX_PATH to leave room for an 8.3 name: the lowest limit of
// the calls we make.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring FullPathName(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    throw Failure(kPathNotFound, "not a path");
  }
  const std::wstring input(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(input.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) ThrowWin32Error(::GetLastError(), "cannot resolve", path);
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // the size needed, terminator included
  }
}

std::wstring ToWin32Path(std::wstring_view path) {
  if (StartsWith(path, L"\\\\?\\")) return std::wstring(path);
  std::wstring full = FullPathName(path);
  if (full.size() < kClassicLimit || StartsWith(full, L"\\\\.\\") || StartsWith(full, L"\\\\?\\")) {
    return full;
  }
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace platform
