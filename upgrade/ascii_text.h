// Character tests that must not depend on the locale: the version digits are the ASCII digits
// only, and names such as "[General]" match without regard to ASCII letter case only, so that the
// same file upgrades the same way on every machine.
#pragma once

#include <string_view>

#include "platform/byte_scan.h"
#include "platform/lead_bytes.h"

namespace upgrade {

constexpr bool IsAsciiDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }

constexpr wchar_t ToAsciiLower(wchar_t c) noexcept {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Lines reach the rules as their bytes (each byte the character of the same value), so the tests
// on lines are made on bytes.
constexpr char ToAsciiLower(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whole-text equality, ignoring the case of the letters A to Z only.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiLower(a[i]) != ToAsciiLower(b[i])) return false;
  }
  return true;
}

// A line that holds both "[" and "]", anywhere and in either order, counts as a section header.
// Asked of every line of a file, so both bytes are looked for in one pass; only a line that holds
// both on a double-byte code page is walked again by characters, since there the second byte of a
// character can have the value of either bracket.
inline bool HoldsBothBrackets(std::string_view line,
                              const platform::LeadBytes& leadBytes) noexcept {
  if (platform::WhichBytesOccur(line, '[', ']') != 3) return false;
  return leadBytes.empty() || leadBytes.WhichCharactersOccur(line, '[', ']') == 3;
}

}  // namespace upgrade
