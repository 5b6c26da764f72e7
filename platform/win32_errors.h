// How Win32 errors become our error numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

std::int32_t ErrorNumberFromWin32Error(std::uint32_t error);

// Throws the Failure for `error` (a GetLastError value) met while doing `action` on the path.
[[noreturn]] void ThrowWin32Error(std::uint32_t error, std::string_view action,
                                  std::wstring_view path);

}  // namespace platform
