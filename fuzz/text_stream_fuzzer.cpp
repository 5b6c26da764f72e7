// The buffered text stream's line splitting and writing over memory, with buffers from one byte
// up, so that every line end falls across a block boundary somewhere. What is read must be the
// lines of a plain reading, and writing them back must give the input with every line end made
// CR LF. A line with a character beyond 8 bits must be refused without leaving any of it behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/line_model.h"
#include "platform/buffered_text_stream.h"
#include "platform/failure.h"
#include "tests/support/failure_number.h"

namespace {

using platform::BufferedTextStream;
using platform::MemoryChannel;
using test_support::FailureNumber;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::size_t BufferSize(std::uint8_t choice) {
  return choice < 0xF0 ? std::size_t{1} + choice % 70 : BufferedTextStream::kDefaultBufferSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t readBuffer = BufferSize(fuzz::TakeByte(input));
  const std::uint8_t writeChoice = fuzz::TakeByte(input);
  const std::size_t writeBuffer = BufferSize(writeChoice);
  const std::vector<std::string> expected = fuzz::SplitLines(input);

  BufferedTextStream reader(std::make_unique<MemoryChannel>(input),
                            BufferedTextStream::Direction::kRead, readBuffer);
  std::vector<std::wstring> lines;
  std::wstring line;
  while (!reader.AtEndOfStream()) {
    reader.ReadLine(line);
    lines.push_back(line);
  }
  Require(FailureNumber([&] { reader.ReadLine(line); }) == platform::kInputPastEndOfFile);
  reader.Close();
  Require(lines.size() == expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) Require(lines[i] == fuzz::Widen(expected[i]));

  std::string output;
  BufferedTextStream writer(std::make_unique<MemoryChannel>(&output),
                            BufferedTextStream::Direction::kWrite, writeBuffer);
  const std::size_t refusedAt = lines.empty() ? 0 : writeChoice % lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == refusedAt && (writeChoice & 0x80) != 0) {
      const std::wstring wide = lines[i] + L"\x0100" + lines[i];
      Require(FailureNumber([&] { writer.WriteLine(wide); }) == platform::kInvalidProcedureCall);
    }
    writer.WriteLine(lines[i]);
  }
  writer.Close();
  Require(output == fuzz::JoinWithCrLf(expected));
  return 0;
}
