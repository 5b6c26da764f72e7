#include "platform/text_stream.h"

#include <cstdint>

#include "platform/failure.h"

namespace platform {

std::string_view TextStream::ReadLineBytes() {
  ReadLine(wideLine_);
  byteLine_.resize(wideLine_.size());
  for (std::size_t i = 0; i < wideLine_.size(); ++i) {
    const auto value = static_cast<std::uint32_t>(wideLine_[i]);
    if (value > 0xFF) throw Failure(kInvalidProcedureCall, "the line is not 8-bit text");
    byteLine_[i] = static_cast<char>(value);
  }
  return byteLine_;
}

void TextStream::WriteLineBytes(std::string_view bytes) {
  wideLine_.resize(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    wideLine_[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  }
  WriteLine(wideLine_);
}

}  // namespace platform
