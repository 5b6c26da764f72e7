// A writer that keeps the lines written to it in memory, for running line rules without files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_stream.h"

namespace test_support {

class RecordingTextStream final : public platform::TextStream {
 public:
  bool AtEndOfStream() override { return true; }
  std::string_view ReadLineBytes() override;
  void WriteLineBytes(std::string_view bytes) override {
    lines.push_back(platform::WidenEightBit(bytes));
  }
  void WriteBlankLines(int count) override;
  void Close() override { closed = true; }

  std::vector<std::wstring> lines;  // as characters of 8-bit text
  bool closed = false;
};

}  // namespace test_support
