// The one case fold of the program. Names such as "[General]" and the INI reader's section and key
// names match without regard to the case of the letters A to Z only, never by the locale, so that
// the same file upgrades the same way on every machine.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr wchar_t ToAsciiLower(wchar_t c) noexcept {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Lines of 8-bit text are looked at as their bytes (each byte the character of the same value).
constexpr char ToAsciiLower(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::wstring ToAsciiLower(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = ToAsciiLower(c);
  return folded;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiLower(a[i]) != ToAsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace platform
