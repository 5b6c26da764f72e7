// 8-bit text as the file services read and write it: each byte is the character of the same value.
#pragma once

#include <string>
#include <string_view>

namespace test_support {

inline std::wstring EightBit(std::string_view bytes) {
  std::wstring characters;
  for (const char c : bytes) characters.push_back(static_cast<unsigned char>(c));
  return characters;
}

// Characters up to U+00FF, as their bytes.
inline std::string Bytes(std::wstring_view characters) {
  std::string bytes;
  for (const wchar_t c : characters) bytes.push_back(static_cast<char>(c));
  return bytes;
}

}  // namespace test_support
