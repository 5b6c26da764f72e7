#include "fuzz/line_model.h"

namespace fuzz {

std::string JoinWithCrLf(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined.append(line).append("\r\n");
  return joined;
}

std::wstring Widen(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (const char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return text;
}

bool Narrow(std::wstring_view text, std::string& bytes) {
  bytes.clear();
  for (const wchar_t c : text) {
    if (static_cast<std::uint32_t>(c) > 0xFF) return false;
    bytes.push_back(static_cast<char>(c));
  }
  return true;
}

CodePage PickCodePage(std::uint8_t choice) {
  switch (choice & 3) {
    case 1:
      return &test_support::kDoubleByteCodePages[0];  // 932
    case 2:
      return &test_support::kDoubleByteCodePages[1];  // 936
    default:
      return nullptr;
  }
}

platform::LeadBytes LeadBytesOf(CodePage codePage) {
  return codePage ? codePage->LeadBytes() : platform::LeadBytes();
}

namespace {

// The length of the character at `at`: two bytes after a lead byte of the code page's ranges (not
// the code under test's table), else one.
std::size_t CharacterLength(std::string_view bytes, std::size_t at, CodePage codePage) {
  if (!codePage || at + 1 >= bytes.size()) return 1;
  const auto b = static_cast<unsigned char>(bytes[at]);
  for (const platform::LeadBytes::Range& range : codePage->leadRanges) {
    if (b >= range.first && b <= range.last) return 2;
  }
  return 1;
}

}  // namespace

std::vector<std::string> SplitCharacters(std::string_view bytes, CodePage codePage) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = CharacterLength(bytes, i, codePage);
    characters.emplace_back(bytes.substr(i, length));
    i += length;
  }
  return characters;
}

bool HasCharacter(std::string_view bytes, std::string_view character, CodePage codePage) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = CharacterLength(bytes, i, codePage);
    if (bytes.substr(i, length) == character) return true;
    i += length;
  }
  return false;
}

std::uint8_t TakeByte(std::string_view& input) {
  if (input.empty()) return 0;
  const auto value = static_cast<std::uint8_t>(input.front());
  input.remove_prefix(1);
  return value;
}

}  // namespace fuzz
