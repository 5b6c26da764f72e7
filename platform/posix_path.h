// Wide paths to and from the bytes that POSIX calls take. Paths are UTF-8 with "/" between names;
// "\" is taken as a separator too, so that the upgrade's "\"-built paths work unchanged. Bytes that
// are not UTF-8 come back as U+DC80 to U+DCFF and go out as the same bytes again, so that every
// name the file system holds survives the round trip.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Throws Failure(kPathNotFound) for a path that no file can have (a NUL, an invalid character).
std::string ToNativePath(std::wstring_view path);

std::wstring FromNativePath(std::string_view bytes);

}  // namespace platform
