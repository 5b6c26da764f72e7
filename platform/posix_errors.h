// How POSIX errors become our error numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// ENOENT is kFileNotFound when the folder that should hold the entry exists, else kPathNotFound.
std::int32_t ErrorNumberFromErrno(int error, bool parentFolderExists);

// Throws the Failure for `error` met while doing `action` on the UTF-8 path.
[[noreturn]] void ThrowErrno(int error, std::string_view action, const std::string& nativePath);

}  // namespace platform
