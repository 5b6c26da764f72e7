// The file services on POSIX, for the native build and its tests: byte files on descriptors, the
// errors they meet as our numbers, the refusal of read-only files, and paths as POSIX calls take
// them. Paths are UTF-8 with "/" between names; "\" is taken as a separator too, so that the
// upgrade's "\"-built paths work unchanged. Bytes that are not UTF-8 come back as U+DC80 to U+DCFF
// and go out as the same bytes again, so that every name the file system holds survives the round
// trip. CreatePlatformFileSystem gives these services on POSIX.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Throws the Failure for `error` met while doing `action` on the UTF-8 path. ENOENT is
// kFileNotFound when the folder that should hold the entry exists, else kPathNotFound.
[[noreturn]] void ThrowErrno(int error, std::string_view action, const std::string& nativePath);

// Throws Failure(kPathNotFound) for a path that no file can have (a NUL, an invalid character).
std::string ToNativePath(std::wstring_view path);

std::wstring FromNativePath(std::string_view bytes);

}  // namespace platform
