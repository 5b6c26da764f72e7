// The text stream on memory, where buffer sizes and failing writes can be chosen.
#include "platform/buffered_text_stream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/memory_channel.h"
#include "tests/platform/memory_reading.h"
#include "tests/support/failure_number.h"

namespace platform_test {
namespace {

using upgrade_test::FailureNumber;

TEST(BufferedTextStream, LineEndsAtEveryBufferSize) {
  const struct {
    const char* bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"\n", {L""}},
      {"\r", {L""}},
      {"\r\n", {L""}},
      {"abc", {L"abc"}},
      {"abc\r\ndef\r\n", {L"abc", L"def"}},
      {"a\rb\nc\r\nd", {L"a", L"b", L"c", L"d"}},
      {"\r\r\n\n\r", {L"", L"", L"", L""}},
      {"ab\n\rcd", {L"ab", L"", L"cd"}},
      {"long line here\r\nx\r", {L"long line here", L"x"}},
  };
  // Buffers from one byte up put every CR and LF at every boundary position once.
  for (std::size_t size = 1; size <= 20; ++size) {
    for (const auto& c : cases) {
      EXPECT_EQ(ReadAll(c.bytes, size), c.lines) << c.bytes << " with a buffer of " << size;
    }
  }
}

TEST(BufferedTextStream, ReadLineReplacesTheCallersText) {
  BufferedTextStream reader(std::make_unique<MemoryChannel>("a\nbc\n"), Direction::kRead, 1);
  std::wstring line = L"left over";
  reader.ReadLine(line);
  EXPECT_EQ(line, L"a");
  reader.ReadLine(line);
  EXPECT_EQ(line, L"bc");
  EXPECT_EQ(FailureNumber([&] { reader.ReadLine(line); }), platform::kInputPastEndOfFile);
}

TEST(BufferedTextStream, LineLongerThanTheBoundIsRefused) {
  const struct {
    const char* bytes;
    std::size_t bound;
    std::int32_t number;
  } cases[] = {
      {"abcd\n", 4, 0},
      {"abcd", 4, 0},
      {"abcde\n", 4, platform::kOutOfMemory},
      {"ab\nabcde", 4, platform::kOutOfMemory},
      {"a\r\nbb\r\nabcde\r\n", 4, platform::kOutOfMemory},
      {"a\r\nbb\r\nabcd\r\n", 4, 0},
  };
  for (const auto& c : cases) {
    for (std::size_t size : {1, 2, 3, 64}) {
      BufferedTextStream reader(std::make_unique<MemoryChannel>(c.bytes), Direction::kRead, size,
                                c.bound);
      EXPECT_EQ(FailureNumber([&] {
                  while (!reader.AtEndOfStream()) reader.ReadLine();
                }),
                c.number)
          << c.bytes << " with a buffer of " << size;
      // Runs too: a bound under the block's size is kept line by line.
      BufferedTextStream runReader(std::make_unique<MemoryChannel>(c.bytes), Direction::kRead, size,
                                   c.bound);
      EXPECT_EQ(FailureNumber([&] {
                  while (!runReader.AtEndOfStream()) runReader.ReadLineRun('[', ']');
                }),
                c.number)
          << c.bytes << " in runs, buffer " << size;
    }
  }
}

TEST(BufferedTextStream, WritesLinesWithCrLfAcrossSmallBuffers) {
  for (std::size_t size : {1, 2, 3, 7, 4096}) {
    std::string out;
    BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite, size);
    writer.WriteLine(L"[General]");
    writer.WriteBlankLines(1);
    writer.WriteLine(L"");
    writer.WriteLine(std::wstring(L"\u00E9\u0000\u00FF", 3));
    writer.WriteBlankLines(0);
    writer.WriteLineRun("a=1\r\n\r\n");
    writer.WriteLineRun("");
    EXPECT_EQ(FailureNumber([&] { writer.WriteLineRun("b=2\r\nc"); }),
              platform::kInvalidProcedureCall);
    writer.Close();
    EXPECT_EQ(out, std::string("[General]\r\n\r\n\r\n\xE9\0\xFF\r\na=1\r\n\r\n", 27)) << size;
  }
}

TEST(BufferedTextStream, RefusedLinesWriteNothing) {
  std::string out;
  BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite, 4);
  for (const std::wstring& text : {std::wstring(L"abcdef\u0100"), std::wstring(L"\u20AC"),
                                   std::wstring(L"x\U0001F600"), std::wstring(1, wchar_t(-1))}) {
    EXPECT_EQ(FailureNumber([&] { writer.WriteLine(text); }), platform::kInvalidProcedureCall);
  }
  EXPECT_EQ(FailureNumber([&] { writer.WriteBlankLines(-1); }), platform::kInvalidProcedureCall);
  writer.WriteLine(L"ok");
  writer.Close();
  EXPECT_EQ(out, "ok\r\n");
}

TEST(BufferedTextStream, DroppedWriterFlushes) {
  std::string out;
  {
    BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite, 64);
    writer.WriteLine(L"kept");
  }
  EXPECT_EQ(out, "kept\r\n");
}

// A channel whose writes fail once `budget` bytes have gone through.
class FullChannel final : public platform::ByteChannel {
 public:
  FullChannel(std::string* out, std::size_t budget) : out_(out), budget_(budget) {}
  std::size_t Read(char*, std::size_t) override { return 0; }
  void Write(const char* data, std::size_t size) override {
    if (size > budget_) throw platform::Failure(platform::kDiskFull, "full");
    out_->append(data, size);
    budget_ -= size;
  }
  void Sync() override { ++syncs; }
  void Close() override {}

  int syncs = 0;

 private:
  std::string* out_;
  std::size_t budget_;
};

TEST(BufferedTextStream, AFailedWriteFailsEveryLaterWriteAndTheClose) {
  std::string out;
  auto channel = std::make_unique<FullChannel>(&out, 4);
  const FullChannel& file = *channel;
  BufferedTextStream writer(std::move(channel), Direction::kWrite, 4);
  writer.WriteLine(L"ab");  // fills the buffer exactly; nothing written yet
  EXPECT_EQ(FailureNumber([&] { writer.WriteLine(L"cdef"); }), platform::kDiskFull);
  EXPECT_EQ(FailureNumber([&] { writer.WriteLine(L"g"); }), platform::kDiskFull);
  EXPECT_EQ(FailureNumber([&] { writer.WriteBlankLines(1); }), platform::kDiskFull);
  EXPECT_EQ(FailureNumber([&] { writer.WriteLineRun("h\r\n"); }), platform::kDiskFull);
  // A file with a gap is never written through as if it were whole.
  EXPECT_EQ(FailureNumber([&] { writer.FlushToDisk(); }), platform::kDiskFull);
  EXPECT_EQ(file.syncs, 0);
  EXPECT_EQ(FailureNumber([&] { writer.Close(); }), platform::kDiskFull);
  EXPECT_EQ(out, "ab\r\n");
}

TEST(BufferedTextStream, CloseReportsTheLastFlush) {
  std::string out;
  BufferedTextStream writer(std::make_unique<FullChannel>(&out, 3), Direction::kWrite, 64);
  writer.WriteLine(L"abcd");
  EXPECT_EQ(FailureNumber([&] { writer.Close(); }), platform::kDiskFull);
  EXPECT_NE(FailureNumber([&] { writer.WriteLine(L"x"); }), 0);
  EXPECT_EQ(FailureNumber([&] { writer.Close(); }), 0);  // closed already: nothing to report
}

}  // namespace
}  // namespace platform_test
