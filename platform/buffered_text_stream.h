// The one TextStream implementation: 8-bit text over any byte channel, buffered in one fixed
// block. A reader holds the block plus a line that crosses blocks; a writer holds only the block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_channel.h"
#include "platform/text_stream.h"

namespace platform {

class BufferedTextStream final : public TextStream {
 public:
  enum class Direction { kRead, kWrite };
  // Small enough that a reader's and a writer's block stay in the core's cache between the
  // kernel's copies and the line work: a 200 MB rewrite took about a fifth longer with 128 KiB
  // blocks and longer still with 1 MiB ones.
  static constexpr std::size_t kDefaultBufferSize = std::size_t{64} * 1024;

  static constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

  // A reader refuses a line longer than maxLineLength with kOutOfMemory, for callers that must
  // bound what they hold whatever the file.
  BufferedTextStream(std::unique_ptr<ByteChannel> channel, Direction direction,
                     std::size_t bufferSize = kDefaultBufferSize,
                     std::size_t maxLineLength = kUnlimited);
  ~BufferedTextStream() override;

  bool AtEndOfStream() override;
  using TextStream::ReadLine;
  void ReadLine(std::wstring& line) override;
  void WriteLine(std::wstring_view text) override;
  std::string_view ReadLineBytes() override;
  void WriteLineBytes(std::string_view bytes) override;
  // A run lies within the block: it is handed out where it lies and written with one copy. A line
  // of a run is shorter than the block, so under a tighter bound every line is measured alone.
  LineRun ReadLineRun(char a, char b) override {
    if (linesAlone_ || maxLineLength_ < capacity_) return {ReadLineBytes(), false};
    return ReadRunOrLine(a, b);
  }
  void WriteLineRun(std::string_view lines) override;
  void WriteBlankLines(int count) override;
  void FlushToDisk() override;
  // A second Close does nothing, so that a failure path may close what the normal path closed.
  void Close() override;
  void Abandon() noexcept override;

 private:
  // Inline, since every call of a line operation makes it.
  void Require(Direction direction) const {
    if (!channel_ || direction_ != direction) Refuse(direction);
  }
  [[noreturn]] void Refuse(Direction direction) const;
  // A writer that is open and whose writes have all reached the file so far.
  void RequireWritable() const {
    Require(Direction::kWrite);
    if (writeFailure_ != 0) RefuseAfterFailedWrite();
  }
  [[noreturn]] void RefuseAfterFailedWrite() const;
  LineRun ReadRunOrLine(char a, char b);
  bool Fill();
  void Put(std::string_view bytes);
  void PutText(std::wstring_view text);
  void Flush();

  std::unique_ptr<ByteChannel> channel_;  // null once closed
  Direction direction_;
  // Page-aligned, so that in the kernel's copies between the block and the page cache both sides
  // stand at the same offset within a page (blocks start at file positions that are multiples of
  // their size): on an AMD EPYC, a copy whose destination lay a few bytes past its source's offset
  // ran two and a half times as long.
  struct PageAlignedDelete {
    void operator()(char* block) const noexcept;
  };
  std::unique_ptr<char[], PageAlignedDelete> buffer_;
  std::size_t capacity_;
  std::size_t maxLineLength_;
  std::size_t begin_ = 0;  // reader: next unread byte
  std::size_t end_ = 0;    // reader: end of the bytes read; writer: end of the bytes pending
  bool atEnd_ = false;
  std::string longLine_;     // reader: a line that crosses blocks, gathered
  bool skipLf_ = false;      // a CR ended the last block: an LF starting the next belongs to it
  bool linesAlone_ = false;  // reader: a lone line end was met in this block, runs are not sought
  std::int32_t writeFailure_ = 0;  // the number of a failed write; the file is then incomplete
};

}  // namespace platform
