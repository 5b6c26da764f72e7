// The lead bytes of the ANSI code page that 8-bit files are read in. On a double-byte code page
// (932, 936, 949, 950) a lead byte and the byte after it are one character, and that second byte
// may have the value of "[" or "]"; searches for such characters walk the text by characters, as
// the code page's own conversion and CharNextExA do. A lead byte that ends the text is a character
// of its own. The set is empty for single-byte code pages, where every byte is a character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>

namespace platform {

class LeadBytes {
 public:
  struct Range {
    std::uint8_t first;
    std::uint8_t last;
  };

  LeadBytes() noexcept = default;
  explicit LeadBytes(std::span<const Range> ranges) noexcept;
  LeadBytes(std::initializer_list<Range> ranges) noexcept
      : LeadBytes(std::span<const Range>(ranges.begin(), ranges.size())) {}

  bool empty() const noexcept { return empty_; }
  // Any character value, so that text widened from bytes can be asked about directly.
  bool IsLead(std::uint32_t value) const noexcept { return value < table_.size() && table_[value]; }

  // Where the character that starts at `at` ends.
  template <typename Char>
  std::size_t CharacterEnd(std::basic_string_view<Char> text, std::size_t at) const noexcept {
    const auto value = static_cast<std::make_unsigned_t<Char>>(text[at]);
    return IsLead(value) && at + 1 < text.size() ? at + 2 : at + 1;
  }

  // The place of the first character `c` (a character that no lead byte begins), or npos.
  template <typename Char>
  std::size_t Find(std::basic_string_view<Char> text, Char c) const noexcept {
    if (empty_) return text.find(c);
    for (std::size_t at = 0; at < text.size(); at = CharacterEnd(text, at)) {
      if (text[at] == c) return at;
    }
    return std::basic_string_view<Char>::npos;
  }

 private:
  std::array<bool, 256> table_{};
  bool empty_ = true;
};

// The lead bytes of the system's ANSI code page: on Windows those of GetCPInfo(CP_ACP); elsewhere
// none, since the native build reads files as single-byte text.
LeadBytes SystemLeadBytes();

}  // namespace platform
