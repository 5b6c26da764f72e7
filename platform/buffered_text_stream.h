// The one TextStream implementation: 8-bit text over a byte channel, buffered in one fixed block.
// A reader holds the block plus a line that crosses blocks; a writer holds only the block. The
// byte channels beneath are the platform's files (OpenByteFile, one per platform) and memory, so
// that line splitting is written once and tests and the INI reader can feed it without a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_stream.h"

namespace platform {

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;  // releases the channel quietly if Close was not called
  ByteChannel(const ByteChannel&) = delete;
  ByteChannel& operator=(const ByteChannel&) = delete;

  // Reads up to `capacity` bytes; 0 only at the end of the file.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
  // Writes all `size` bytes or throws.
  virtual void Write(const char* data, std::size_t size) = 0;
  // Waits until what was written is on the disk itself, so that it survives a crash or a power
  // cut (FlushFileBuffers, fsync).
  virtual void Sync() = 0;
  // Releases the channel, reporting a failure to complete the last writes. The channel is released
  // even when this throws.
  virtual void Close() = 0;

 protected:
  ByteChannel() = default;
};

enum class FileAccess {
  kRead,
  kWrite,  // the file is emptied on opening
};

enum class FileDisposition {
  kOpenExisting,
  kOpenOrCreate,
  kCreateNew,  // fails with kFileAlreadyExists if anything is at the path, atomically
};

// Opens a regular file of the platform. Folders and devices are refused with kPermissionDenied,
// and so is opening a read-only file for writing, whatever the rights of the process.
std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition);

class MemoryChannel final : public ByteChannel {
 public:
  // A reader of `input`, which must outlive the channel.
  explicit MemoryChannel(std::string_view input) : input_(input) {}
  // A writer that appends to `*output`, which must outlive the channel.
  explicit MemoryChannel(std::string* output) : output_(output) {}

  std::size_t Read(char* buffer, std::size_t capacity) override;
  void Write(const char* data, std::size_t size) override;
  void Sync() override { RequireOpen(); }
  void Close() override { closed_ = true; }

 private:
  void RequireOpen() const;

  std::string_view input_;
  std::string* output_ = nullptr;
  bool closed_ = false;
};

class BufferedTextStream final : public TextStream {
 public:
  enum class Direction { kRead, kWrite };
  static constexpr std::size_t kDefaultBufferSize = std::size_t{64} * 1024;
  static constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

  // A reader refuses a line longer than maxLineLength with kOutOfMemory, for callers that must
  // bound what they hold whatever the file.
  BufferedTextStream(std::unique_ptr<ByteChannel> channel, Direction direction,
                     std::size_t bufferSize = kDefaultBufferSize,
                     std::size_t maxLineLength = kUnlimited);
  ~BufferedTextStream() override;

  bool AtEndOfStream() override;
  std::string_view ReadLineBytes() override;
  void WriteLineBytes(std::string_view bytes) override;
  std::string_view ReadBytes() override;
  void WriteBlankLines(int count) override;
  void FlushToDisk() override;
  // A second Close does nothing, so that a failure path may close what the normal path closed.
  void Close() override;
  void Abandon() noexcept override;

 private:
  // Inline, since every line operation makes these checks.
  void Require(Direction direction) const {
    if (!channel_ || direction_ != direction) Refuse(direction);
  }
  // A writer that is open and whose writes have all reached the file so far.
  void RequireWritable() const {
    if (!channel_ || direction_ != Direction::kWrite || writeFailure_ != 0) {
      Refuse(Direction::kWrite);
    }
  }
  [[noreturn]] void Refuse(Direction direction) const;
  bool Fill();
  // Where the line that starts at `from` ends: its CR or LF, or the block's end. The next LF is
  // looked for once and remembered, so that lines ended by a lone CR do not each search the rest
  // of the block for one.
  const char* LineEnd(const char* from, const char* blockEnd);
  // Moves past the CR, LF or CR LF at lineEnd; an LF that begins the next block is skipped there.
  void SkipLineEnd(const char* lineEnd);
  // The line that begins with `start` and goes on past the block, gathered in storage that later
  // long lines reuse.
  std::string_view GatherLine(std::string_view start);
  void RequireLineWithin(std::size_t length) const;
  void Put(std::string_view bytes);
  void Flush();

  std::unique_ptr<ByteChannel> channel_;  // null once closed
  Direction direction_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t maxLineLength_;
  std::size_t begin_ = 0;         // reader: next unread byte
  std::size_t end_ = 0;           // reader: end of the bytes read; writer: end of the bytes pending
  const char* nextLf_ = nullptr;  // reader: the block's next LF, or its end; null when not sought
  bool atEnd_ = false;
  std::string longLine_;  // reader: a line that crosses blocks, gathered
  bool skipLf_ = false;   // a CR ended the last block: an LF starting the next belongs to it
  std::int32_t writeFailure_ = 0;  // the number of a failed write; the file is then incomplete
};

}  // namespace platform
