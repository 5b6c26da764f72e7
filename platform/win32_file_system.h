// The file services on Win32, for the program and its tests under Windows: byte files on kernel
// handles, the errors they meet as our numbers, the refusal of read-only files, and paths as Win32
// calls take them, whatever their length. CreatePlatformFileSystem gives these services on Win32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Throws the Failure for `error` (a GetLastError value) met while doing `action` on the path.
[[noreturn]] void ThrowWin32Error(std::uint32_t error, std::string_view action,
                                  std::wstring_view path);

// The error that a failed CREATE_NEW stands for. In a folder that exists, "not found" means that
// something refused the new file: Windows' Controlled Folder Access does so to a program it does
// not trust, so that is access denied, and the user is told to make the file writable.
std::uint32_t CreateNewError(std::uint32_t error, bool folderExists);

// The full path of `path` (against the current folder), with the "\\?\" or "\\?\UNC\" prefix
// once it is long enough for a classic call to refuse it. Device paths ("\\.\NUL") and paths
// that carry a prefix already are kept. Throws Failure(kPathNotFound) for an empty path or one
// holding a NUL.
std::wstring ToWin32Path(std::wstring_view path);

// The full path of `path` without any prefix, as a user would write it.
std::wstring FullPathName(std::wstring_view path);

}  // namespace platform
