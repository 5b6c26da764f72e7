// Paths as Win32 calls take them, whatever their length.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The full path of `path` (against the current folder), with the "\\?\" or "\\?\UNC\" prefix
// once it is long enough for a classic call to refuse it. Device paths ("\\.\NUL") and paths
// that carry a prefix already are kept. Throws Failure(kPathNotFound) for an empty path or one
// holding a NUL.
std::wstring ToWin32Path(std::wstring_view path);

// The full path of `path` without any prefix, as a user would write it.
std::wstring FullPathName(std::wstring_view path);

}  // namespace platform
