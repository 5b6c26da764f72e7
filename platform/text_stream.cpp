#include "platform/text_stream.h"

#include "platform/eight_bit_text.h"
#include "platform/failure.h"

namespace platform {

std::string_view TextStream::ReadLineBytes() {
  ReadLine(wideLine_);
  byteLine_.resize(wideLine_.size());
  if (!NarrowEightBit(wideLine_.data(), wideLine_.size(), byteLine_.data())) {
    throw Failure(kInvalidProcedureCall, "the line is not 8-bit text");
  }
  return byteLine_;
}

void TextStream::FlushToDisk() {
  throw Failure(kBadFileMode, "the text stream is not a file that can be written through");
}

void TextStream::WriteLineBytes(std::string_view bytes) {
  wideLine_.resize(bytes.size());
  WidenEightBit(bytes.data(), bytes.size(), wideLine_.data());
  WriteLine(wideLine_);
}

}  // namespace platform
