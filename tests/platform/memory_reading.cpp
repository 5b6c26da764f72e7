#include "tests/platform/memory_reading.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/eight_bit_text.h"

namespace platform_test {

using upgrade_test::EightBit;

Lines ReadAll(std::string_view bytes, std::size_t bufferSize) {
  BufferedTextStream reader(std::make_unique<MemoryChannel>(bytes), Direction::kRead, bufferSize);
  Lines lines;
  std::wstring line = L"a longer text left over from an earlier line, to be overwritten";
  while (!reader.AtEndOfStream()) {
    reader.ReadLine(line);
    lines.push_back(line);
  }
  reader.Close();
  return lines;
}

Lines ReadAllAsBytes(std::string_view bytes, std::size_t bufferSize) {
  BufferedTextStream reader(std::make_unique<MemoryChannel>(bytes), Direction::kRead, bufferSize);
  Lines lines;
  while (!reader.AtEndOfStream()) lines.push_back(EightBit(reader.ReadLineBytes()));
  return lines;
}

Lines ReadAllByRuns(std::string_view bytes, std::size_t bufferSize) {
  BufferedTextStream reader(std::make_unique<MemoryChannel>(bytes), Direction::kRead, bufferSize);
  Lines lines;
  while (!reader.AtEndOfStream()) {
    const platform::TextStream::LineRun run = reader.ReadLineRun('[', ']');
    if (!run.crLfLines) {
      lines.push_back(EightBit(run.text));
      continue;
    }
    EXPECT_TRUE(run.text.ends_with("\r\n"));
    EXPECT_EQ(run.text.find_first_of("[]"), std::string_view::npos);
    for (std::size_t begin = 0; begin < run.text.size();) {
      const std::size_t end = run.text.find("\r\n", begin);
      const std::string_view line = run.text.substr(begin, end - begin);
      EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << "a lone line end in a run";
      lines.push_back(EightBit(line));
      begin = end + 2;
    }
  }
  return lines;
}

}  // namespace platform_test
