// Character tests that must not depend on the locale: the version digits are the ASCII digits
// only, and names such as "[General]" match without regard to ASCII letter case only, so that the
// same file upgrades the same way on every machine.
#pragma once

#include <string_view>

namespace upgrade {

constexpr bool IsAsciiDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }

constexpr wchar_t ToAsciiLower(wchar_t c) noexcept {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Whole-text equality, ignoring the case of the letters A to Z only.
constexpr bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiLower(a[i]) != ToAsciiLower(b[i])) return false;
  }
  return true;
}

// A line that holds both "[" and "]", anywhere and in either order, counts as a section header.
constexpr bool HoldsBothBrackets(std::wstring_view line) noexcept {
  return line.find(L'[') != std::wstring_view::npos && line.find(L']') != std::wstring_view::npos;
}

}  // namespace upgrade
