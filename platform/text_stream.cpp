#include "platform/text_stream.h"

#include <type_traits>

#include "platform/failure.h"

namespace platform {
namespace {

void Widen(std::string_view bytes, std::wstring& text) {
  text.resize(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  }
}

}  // namespace

void TextStream::FlushToDisk() {
  throw Failure(kBadFileMode, "the text stream is not a file that can be written through");
}

std::string_view TextStream::ReadBytes() {
  throw Failure(kBadFileMode, "the text stream holds no bytes of a file");
}

void TextStream::ReadLine(std::wstring& line) { Widen(ReadLineBytes(), line); }

std::wstring TextStream::ReadLine() {
  std::wstring line;
  ReadLine(line);
  return line;
}

void TextStream::WriteLine(std::wstring_view text) {
  const std::optional<std::string> bytes = NarrowEightBit(text);
  if (!bytes) {
    throw Failure(kInvalidProcedureCall, "the line has a character that 8-bit text cannot hold");
  }
  WriteLineBytes(*bytes);
}

std::wstring WidenEightBit(std::string_view bytes) {
  std::wstring text;
  Widen(bytes, text);
  return text;
}

std::optional<std::string> NarrowEightBit(std::wstring_view text) {
  std::string bytes(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Compared as unsigned, so that a negative wchar_t is refused too.
    if (static_cast<std::make_unsigned_t<wchar_t>>(text[i]) > 0xFF) return std::nullopt;
    bytes[i] = static_cast<char>(text[i]);
  }
  return bytes;
}

}  // namespace platform
