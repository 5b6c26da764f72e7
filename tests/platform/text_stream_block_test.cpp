// The text stream's block-wise paths: the line-end search, the widening and the narrowing work
// sixteen bytes at a time with a separate tail, and runs of lines are found 64 bytes at a time, so
// lines of every length around those blocks, every byte value and every position of a refused
// character are checked against plain loops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/buffered_text_stream.h"
#include "platform/failure.h"
#include "platform/memory_channel.h"
#include "platform/text_stream.h"
#include "tests/platform/memory_reading.h"
#include "tests/support/eight_bit_text.h"
#include "tests/support/failure_number.h"

namespace platform_test {
namespace {

using upgrade_test::EightBit;
using upgrade_test::FailureNumber;

constexpr std::size_t kLongest = 80;  // five blocks and then some

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
    EXPECT_EQ(ReadAllByRuns(bytes, bufferSize), expected) << "buffer of " << bufferSize;
  }
}

INSTANTIATE_TEST_SUITE_P(BufferedTextStream, LineEndTest,
                         ::testing::Values(LineEndCase{"CrLf", "\r\n"}, LineEndCase{"Lf", "\n"},
                                           LineEndCase{"Cr", "\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BufferedTextStreamBlocks, ALineEndAtEachOffsetOfABlockEndsTheLine) {
  for (std::size_t at = 0; at < kLongest; ++at) {  // a text is left after every line end
    for (const char end : {'\r', '\n'}) {
      const std::string before = Payload(at, at + 1);
      const std::string after = Payload(kLongest - at, at + 2);
      const std::vector<std::wstring> expected = {EightBit(before), EightBit(after)};
      EXPECT_EQ(ReadAll(before + end + after, BufferedTextStream::kDefaultBufferSize), expected)
          << "line end " << int{end} << " at " << at;
      // Among CR LF lines, where it also ends a run.
      const std::string lines = Payload(at, at + 3) + "\r\n" + before + end + after + "\r\n";
      EXPECT_EQ(ReadAllByRuns(lines, BufferedTextStream::kDefaultBufferSize),
                ReadAll(lines, BufferedTextStream::kDefaultBufferSize))
          << "line end " << int{end} << " at " << at;
    }
  }
}

TEST(BufferedTextStreamBlocks, EveryLengthAndByteValueWritesBackTheSameBytes) {
  for (const bool asBytes : {false, true}) {
    for (std::size_t bufferSize : {std::size_t{5}, std::size_t{64}, std::size_t{4096}}) {
      std::string out;
      std::string expected;
      {
        BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite,
                                  bufferSize);
        for (std::size_t length = 0; length <= kLongest; ++length) {
          const std::string payload = Payload(length, length * 3);
          if (asBytes && length % 2 == 1) {
            writer.WriteLineRun(payload + "\r\n");
          } else if (asBytes) {
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

// A stream that has only the character operations gets the byte operations through them.
class CharacterStream final : public platform::TextStream {
 public:
  bool AtEndOfStream() override { return next >= lines.size(); }
  void ReadLine(std::wstring& line) override { line = lines.at(next++); }
  void WriteLine(std::wstring_view text) override { written.emplace_back(text); }
  void WriteBlankLines(int) override {}
  void Close() override {}
  std::vector<std::wstring> lines;
  std::size_t next = 0;
  std::vector<std::wstring> written;
};

TEST(TextStreamBytes, ThePlainVersionsMapEachByteToTheCharacterOfTheSameValue) {
  CharacterStream stream;
  stream.lines = {EightBit(Payload(40, 1)), std::wstring(L"a\u0100b")};
  EXPECT_EQ(stream.ReadLineBytes(), Payload(40, 1));
  try {
    stream.ReadLineBytes();
    ADD_FAILURE() << "a character above U+00FF was read as a byte";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), platform::kInvalidProcedureCall);
  }
  stream.WriteLineBytes(Payload(40, 2));
  EXPECT_EQ(stream.written, std::vector<std::wstring>{EightBit(Payload(40, 2))});
}

// Its run operations go line by line: a run of one line at most, and each line of a written run.
TEST(TextStreamBytes, ThePlainRunsAreLineByLine) {
  CharacterStream stream;
  stream.lines = {L"a", L""};
  for (const std::wstring& line : stream.lines) {
    const platform::TextStream::LineRun run = stream.ReadLineRun('[', ']');
    EXPECT_FALSE(run.crLfLines);
    EXPECT_EQ(EightBit(run.text), line);
  }
  stream.WriteLineRun("");
  stream.WriteLineRun("a\r\n\r\nb\nc\r\n");
  EXPECT_EQ(stream.written, (std::vector<std::wstring>{L"a", L"", L"b\nc"}));
  for (const char* refused : {"a", "a\r", "a\n", "a\r\nb"}) {
    EXPECT_EQ(FailureNumber([&] { stream.WriteLineRun(refused); }), platform::kInvalidProcedureCall)
        << refused;
  }
  EXPECT_EQ(stream.written.size(), 3u) << "a refused run writes nothing";
}

TEST(BufferedTextStreamBlocks, ACharacterBeyondEightBitsIsRefusedWhereverItStands) {
  const wchar_t beyond[] = {0x100, 0x20AC, static_cast<wchar_t>(0xFF00), static_cast<wchar_t>(-1)};
  for (std::size_t length = 1; length <= kLongest; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      std::string out;
      BufferedTextStream writer(std::make_unique<MemoryChannel>(&out), Direction::kWrite);
      writer.WriteLine(L"before");
      std::wstring text = EightBit(Payload(length, at));
      text[at] = beyond[(length + at) % 4];
      try {
        writer.WriteLine(text);
        ADD_FAILURE() << "accepted a line of " << length << " with a wide character at " << at;
      } catch (const platform::Failure& failure) {
        EXPECT_EQ(failure.number(), platform::kInvalidProcedureCall);
      }
      writer.WriteLine(L"after");
      writer.Close();
      EXPECT_EQ(out, "before\r\nafter\r\n") << "length " << length << ", at " << at;
    }
  }
}

}  // namespace
}  // namespace platform_test
