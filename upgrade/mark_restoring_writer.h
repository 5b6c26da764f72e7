// The writer that a line rule is given for the first line of a file that starts with the UTF-8
// mark. The rule sees the line after the mark and writes as usual; the first line it writes gets
// the mark back in front, so the file keeps it. Everything else goes to the writer as it is.
#pragma once

#include <string_view>

#include "platform/text_stream.h"

namespace upgrade {

class MarkRestoringWriter final : public platform::TextStream {
 public:
  explicit MarkRestoringWriter(platform::TextStream& writer) : writer_(writer) {}

  // A writer only: there is nothing to read.
  bool AtEndOfStream() override { return true; }
  std::string_view ReadLineBytes() override;
  void WriteLineBytes(std::string_view bytes) override;
  void WriteBlankLines(int count) override;
  // The writer belongs to the rewrite, which closes it.
  void Close() override {}

 private:
  platform::TextStream& writer_;
  bool markWritten_ = false;
};

}  // namespace upgrade
