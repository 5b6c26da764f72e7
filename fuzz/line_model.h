// An independent, deliberately naive reading of 8-bit text, for the fuzzers to check the real code
// against: lines end at CR LF, LF or a lone CR; each byte is the character of the same value, and
// on a double-byte code page a lead byte and the byte after it are one character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/lead_bytes.h"
#include "tests/support/double_byte_code_pages.h"

namespace fuzz {

template <typename Char>
std::vector<std::basic_string<Char>> SplitLines(std::basic_string_view<Char> text) {
  std::vector<std::basic_string<Char>> lines;
  std::basic_string<Char> current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c == Char('\n') || c == Char('\r')) {
      lines.push_back(current);
      current.clear();
      if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
    } else {
      current.push_back(c);
    }
  }
  // A last line without a line end is still a line; an empty remainder is not.
  if (!current.empty()) lines.push_back(current);
  return lines;
}
inline std::vector<std::string> SplitLines(std::string_view bytes) {
  return SplitLines<char>(bytes);
}
// The file that writing every line back with a CR LF after it gives.
std::string JoinWithCrLf(const std::vector<std::string>& lines);

std::wstring Widen(std::string_view bytes);
// Byte N for character U+00NN; false if a character is above U+00FF.
bool Narrow(std::wstring_view text, std::string& bytes);

// A double-byte code page, or nullptr for a single-byte one.
using CodePage = const test_support::DoubleByteCodePage*;

// Single-byte, 932 or 936, by bits 0 and 1 of `choice`.
CodePage PickCodePage(std::uint8_t choice);
// The lead bytes of that code page, for the code under test.
platform::LeadBytes LeadBytesOf(CodePage codePage);
// The bytes as characters of the code page: one byte each, or two after a lead byte; a lead byte
// that ends the text stands alone.
std::vector<std::string> SplitCharacters(std::string_view bytes, CodePage codePage);
bool HasCharacter(std::string_view bytes, std::string_view character, CodePage codePage);

// Consumes the first byte of the input as a small number (0 when the input is empty).
std::uint8_t TakeByte(std::string_view& input);

}  // namespace fuzz
