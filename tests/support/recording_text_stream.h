// A writer that keeps the lines written to it in memory, for running line rules without files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_stream.h"

namespace upgrade_test {

class RecordingTextStream final : public platform::TextStream {
 public:
  bool AtEndOfStream() override { return true; }
  void ReadLine(std::wstring& line) override;
  void WriteLine(std::wstring_view text) override { lines.emplace_back(text); }
  void WriteBlankLines(int count) override;
  void Close() override { closed = true; }

  std::vector<std::wstring> lines;
  bool closed = false;
};

}  // namespace upgrade_test
