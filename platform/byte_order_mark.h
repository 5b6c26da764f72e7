// What the start of a text file, read as 8-bit text, tells about its encoding: the byte-order
// marks that some editors write, and the look of UTF-16 text that has none.
#pragma once

#include <string_view>

namespace platform {

// The UTF-8 mark, and the same as the characters that 8-bit text reads it as. It is no part of
// the first line, and a file written back keeps it.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::wstring_view kUtf8MarkCharacters = L"\u00EF\u00BB\u00BF";

// Whether a file whose first line (or run of lines) is given is UTF-16: the line starts with
// either byte-order mark, or, without one, its first two bytes are a NUL and a printable ASCII
// character, as the first character of text in either byte order is. A NUL further on, which
// some 8-bit files hold, does not count.
constexpr bool LooksLikeUtf16(std::string_view firstLine) noexcept {
  if (firstLine.starts_with("\xFF\xFE") || firstLine.starts_with("\xFE\xFF")) return true;
  const auto printable = [](char c) { return c >= ' ' && c <= '~'; };
  return firstLine.size() >= 2 && ((firstLine[0] == '\0' && printable(firstLine[1])) ||
                                   (firstLine[1] == '\0' && printable(firstLine[0])));
}

}  // namespace platform
