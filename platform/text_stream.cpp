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

TextStream::LineRun TextStream::ReadLineRun(char /*a*/, char /*b*/) {
  return {ReadLineBytes(), false};
}

void TextStream::WriteLineRun(std::string_view lines) {
  RequireCrLfEnd(lines);
  for (std::size_t begin = 0; begin != lines.size();) {
    const std::size_t end = lines.find("\r\n", begin);
    WriteLineBytes(lines.substr(begin, end - begin));
    begin = end + 2;
  }
}

void TextStream::RequireCrLfEnd(std::string_view lines) {
  if (!lines.empty() && !lines.ends_with("\r\n")) {
    throw Failure(kInvalidProcedureCall, "a run of lines that does not end in CR LF");
  }
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
