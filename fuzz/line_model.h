// An independent, deliberately naive reading of 8-bit text, for the fuzzers to check the real code
// against: lines end at CR LF, LF or a lone CR; each byte is the character of the same value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

std::vector<std::string> SplitLines(std::string_view bytes);
// The file that writing every line back with a CR LF after it gives.
std::string JoinWithCrLf(const std::vector<std::string>& lines);

std::wstring Widen(std::string_view bytes);
// Byte N for character U+00NN; false if a character is above U+00FF.
bool Narrow(std::wstring_view text, std::string& bytes);

// Consumes the first byte of the input as a small number (0 when the input is empty).
std::uint8_t TakeByte(std::string_view& input);

}  // namespace fuzz
