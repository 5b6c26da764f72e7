// The text stream on memory, where buffer sizes and failing writes can be chosen: line ends at
// every place in a block, lines of every length and byte value, and what a failed write leaves.
#include "platform/buffered_text_stream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/eight_bit_text.h"
#include "tests/support/failure_number.h"

namespace platform_test {
namespace {

using platform::BufferedTextStream;
using platform::MemoryChannel;
using test_support::EightBit;
using test_support::FailureNumber;
using Direction = BufferedTextStream::Direction;
using Lines = std::vector<std::wstring>;

// By ReadLine, into a line that holds a longer text at first: each read must replace it.
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

// By ReadLineBytes.
Lines ReadAllAsBytes(std::string_view bytes, std::size_t bufferSize) {
  BufferedTextStream reader(std::make_unique<MemoryChannel>(bytes), Direction::kRead, bufferSize);
  Lines lines;
  while (!reader.AtEndOfStream()) lines.push_back(EightBit(reader.ReadLineBytes()));
  return lines;
}

constexpr std::size_t kLongest = 80;

// Bytes 0 to 255 except CR and LF, in an order that puts each value at many offsets.
std::string Payload(std::size_t length, std::size_t seed) {
  std::string bytes;
  for (std::size_t i = 0; i < length; ++i) {
    auto value = static_cast<unsigned char>((seed * 31 + i * 7 + 0x80) & 0xFF);
    if (value == '\r' || value == '\n') value = static_cast<unsigned char>(value + 0x70);
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

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
    }
  }
}

// After the lines read, the rest of the file as it is, whatever the blocks; a CR LF that a block
// splits is still one line end.
TEST(BufferedTextStream, ReadBytesHandsOutTheRestAsItIs) {
  const std::string text("ab\r\nc\rd\n\xFF\0", 10);
  for (std::size_t size = 1; size <= 6; ++size) {
    BufferedTextStream reader(std::make_unique<MemoryChannel>(text), Direction::kRead, size);
    EXPECT_EQ(reader.ReadLineBytes(), "ab");
    std::string rest;
    for (std::string_view bytes = reader.ReadBytes(); !bytes.empty(); bytes = reader.ReadBytes()) {
      rest += bytes;
    }
    EXPECT_EQ(rest, std::string("c\rd\n\xFF\0", 6)) << "buffer of " << size;
    EXPECT_TRUE(reader.AtEndOfStream());
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
    writer.WriteLineBytes("a=1");
    writer.Close();
    EXPECT_EQ(out, std::string("[General]\r\n\r\n\r\n\xE9\0\xFF\r\na=1\r\n", 25)) << size;
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
  EXPECT_EQ(FailureNumber([&] { writer.WriteLineBytes("h"); }), platform::kDiskFull);
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

struct LineEndCase {
  const char* name;
  std::string end;
};

class LineEndTest : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(LineEndTest, LinesOfEveryLengthReadBackExactly) {
  std::string bytes;
  std::vector<std::wstring> expected;
  for (std::size_t length = 0; length <= kLongest; ++length) {
    const std::string payload = Payload(length, length);
    bytes += payload + GetParam().end;
    expected.push_back(EightBit(payload));
  }
  for (const std::size_t bufferSize :
       {std::size_t{7}, std::size_t{16}, std::size_t{33}, BufferedTextStream::kDefaultBufferSize}) {
    EXPECT_EQ(ReadAll(bytes, bufferSize), expected) << "buffer of " << bufferSize;
    EXPECT_EQ(ReadAllAsBytes(bytes, bufferSize), expected) << "buffer of " << bufferSize;
  }
}

INSTANTIATE_TEST_SUITE_P(BufferedTextStream, LineEndTest,
                         ::testing::Values(LineEndCase{"CrLf", "\r\n"}, LineEndCase{"Lf", "\n"},
                                           LineEndCase{"Cr", "\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BufferedTextStream, ALineEndAtEachOffsetEndsTheLine) {
  for (std::size_t at = 0; at < kLongest; ++at) {  // a text is left after every line end
    for (const char end : {'\r', '\n'}) {
      const std::string before = Payload(at, at + 1);
      const std::string after = Payload(kLongest - at, at + 2);
      const std::vector<std::wstring> expected = {EightBit(before), EightBit(after)};
      EXPECT_EQ(ReadAll(before + end + after, BufferedTextStream::kDefaultBufferSize), expected)
          << "line end " << int{end} << " at " << at;
    }
  }
}

TEST(BufferedTextStream, EveryLengthAndByteValueWritesBackTheSameBytes) {
  for (const bool asBytes : {false, true}) {
    for (std::size_t bufferSize : {std::size_t{5}, std::size_t{64}, std::size_t{4096}}) {
      std::string out;
      std::string expected;
      {
        BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite,
                                  bufferSize);
        for (std::size_t length = 0; length <= kLongest; ++length) {
          const std::string payload = Payload(length, length * 3);
          if (asBytes) {
            writer.WriteLineBytes(payload);
          } else {
            writer.WriteLine(EightBit(payload));
          }
          expected += payload + "\r\n";
        }
        writer.Close();
      }
      EXPECT_EQ(out, expected) << "buffer of " << bufferSize << (asBytes ? ", as bytes" : "");
    }
  }
}

TEST(BufferedTextStream, ACharacterBeyondEightBitsIsRefusedWhereverItStands) {
  const wchar_t beyond[] = {0x100, 0x20AC, static_cast<wchar_t>(0xFF00), static_cast<wchar_t>(-1)};
  for (std::size_t length = 1; length <= kLongest; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      std::string out;
      BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite);
      writer.WriteLine(L"before");
      std::wstring text = EightBit(Payload(length, at));
      text[at] = beyond[(length + at) % 4];
      EXPECT_EQ(FailureNumber([&] { writer.WriteLine(text); }), platform::kInvalidProcedureCall)
          << "a line of " << length << " with a wide character at " << at;
      writer.WriteLine(L"after");
      writer.Close();
      EXPECT_EQ(out, "before\r\nafter\r\n") << "length " << length << ", at " << at;
    }
  }
}

}  // namespace
}  // namespace platform_test
