#include "platform/buffered_text_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/failure.h"

namespace platform {

void MemoryChannel::RequireOpen() const {
  if (closed_) throw Failure(kInvalidProcedureCall, "memory channel is closed");
}

std::size_t MemoryChannel::Read(char* buffer, std::size_t capacity) {
  RequireOpen();
  const std::size_t count = std::min(capacity, input_.size());
  if (count != 0) std::memcpy(buffer, input_.data(), count);
  input_.remove_prefix(count);
  return count;
}

void MemoryChannel::Write(const char* data, std::size_t size) {
  RequireOpen();
  if (output_ == nullptr) throw Failure(kPermissionDenied, "memory channel is read-only");
  output_->append(data, size);
}

BufferedTextStream::BufferedTextStream(std::unique_ptr<ByteChannel> channel, Direction direction,
                                       std::size_t bufferSize, std::size_t maxLineLength)
    : channel_(std::move(channel)),
      direction_(direction),
      capacity_(std::max<std::size_t>(bufferSize, 1)),
      // Not cleared: a block is read into or written before it is looked at.
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)),
      maxLineLength_(maxLineLength) {}

BufferedTextStream::~BufferedTextStream() {
  if (!channel_ || direction_ != Direction::kWrite || writeFailure_ != 0) return;
  try {
    Flush();
  } catch (...) {
    // Nothing can report it here; the channel's destructor still releases the file.
  }
}

void BufferedTextStream::Refuse(Direction direction) const {
  if (!channel_) throw Failure(kInvalidProcedureCall, "the text stream is closed");
  if (direction_ != direction) {
    throw Failure(kBadFileMode, direction == Direction::kRead ? "the text stream is for writing"
                                                              : "the text stream is for reading");
  }
  throw Failure(writeFailure_, "an earlier write to the file failed");
}

bool BufferedTextStream::Fill() {
  while (begin_ == end_ && !atEnd_) {
    begin_ = 0;
    nextLf_ = nullptr;
    end_ = channel_->Read(buffer_.get(), capacity_);
    if (end_ == 0) {
      atEnd_ = true;
    } else if (skipLf_) {
      skipLf_ = false;
      if (buffer_[0] == '\n') begin_ = 1;
    }
  }
  return begin_ < end_;
}

const char* BufferedTextStream::LineEnd(const char* from, const char* blockEnd) {
  if (nextLf_ == nullptr || nextLf_ < from) {
    nextLf_ = static_cast<const char*>(
        std::memchr(from, '\n', static_cast<std::size_t>(blockEnd - from)));
    if (nextLf_ == nullptr) nextLf_ = blockEnd;
  }
  const void* const cr = std::memchr(from, '\r', static_cast<std::size_t>(nextLf_ - from));
  return cr != nullptr ? static_cast<const char*>(cr) : nextLf_;
}

bool BufferedTextStream::AtEndOfStream() {
  Require(Direction::kRead);
  return begin_ == end_ && !Fill();
}

void BufferedTextStream::RequireLineWithin(std::size_t length) const {
  if (length > maxLineLength_) {
    throw Failure(kOutOfMemory, "a line is longer than " + std::to_string(maxLineLength_));
  }
}

void BufferedTextStream::SkipLineEnd(const char* lineEnd) {
  begin_ = static_cast<std::size_t>(lineEnd - buffer_.get()) + 1;
  if (*lineEnd != '\r') return;
  if (begin_ == end_) {
    skipLf_ = true;
  } else if (buffer_[begin_] == '\n') {
    ++begin_;
  }
}

std::string_view BufferedTextStream::ReadLineBytes() {
  Require(Direction::kRead);
  if (begin_ == end_ && !Fill()) {
    throw Failure(kInputPastEndOfFile, "read past the end of the text stream");
  }
  // The usual line lies within the block and is handed out where it lies.
  const char* const from = buffer_.get() + begin_;
  const char* const blockEnd = buffer_.get() + end_;
  const char* const lineEnd = LineEnd(from, blockEnd);
  const std::string_view line(from, static_cast<std::size_t>(lineEnd - from));
  RequireLineWithin(line.size());
  if (lineEnd == blockEnd) return GatherLine(line);
  SkipLineEnd(lineEnd);
  return line;
}

std::string_view BufferedTextStream::GatherLine(std::string_view start) {
  longLine_.assign(start);
  begin_ = end_;
  // A last line without a line end ends at the end of the file.
  while (Fill()) {
    const char* const from = buffer_.get() + begin_;
    const char* const blockEnd = buffer_.get() + end_;
    const char* const lineEnd = LineEnd(from, blockEnd);
    const std::string_view part(from, static_cast<std::size_t>(lineEnd - from));
    RequireLineWithin(longLine_.size() + part.size());
    longLine_.append(part);
    if (lineEnd != blockEnd) {
      SkipLineEnd(lineEnd);
      break;
    }
    begin_ = end_;
  }
  return longLine_;
}

std::string_view BufferedTextStream::ReadBytes() {
  Require(Direction::kRead);
  if (begin_ == end_ && !Fill()) return {};
  const std::string_view bytes(buffer_.get() + begin_, end_ - begin_);
  begin_ = end_;
  return bytes;
}

void BufferedTextStream::Flush() {
  if (end_ == 0) return;
  try {
    channel_->Write(buffer_.get(), end_);
    end_ = 0;
  } catch (...) {
    // What reached the file is unknown: refuse further writes instead of leaving a gap.
    writeFailure_ = CurrentErrorNumber();
    end_ = 0;
    throw;
  }
}

void BufferedTextStream::Put(std::string_view bytes) {
  while (!bytes.empty()) {
    if (end_ == capacity_) Flush();
    const std::size_t count = std::min(bytes.size(), capacity_ - end_);
    std::memcpy(buffer_.get() + end_, bytes.data(), count);
    end_ += count;
    bytes.remove_prefix(count);
  }
}

void BufferedTextStream::WriteLineBytes(std::string_view bytes) {
  RequireWritable();
  // The usual line fits in what is left of the block, and goes in with its line end at once.
  if (bytes.size() + 2 <= capacity_ - end_) {
    char* const out = buffer_.get() + end_;
    std::memcpy(out, bytes.data(), bytes.size());
    out[bytes.size()] = '\r';
    out[bytes.size() + 1] = '\n';
    end_ += bytes.size() + 2;
    return;
  }
  Put(bytes);
  Put("\r\n");
}

void BufferedTextStream::WriteBlankLines(int count) {
  RequireWritable();
  if (count < 0) throw Failure(kInvalidProcedureCall, "a negative count of blank lines");
  for (int i = 0; i < count; ++i) Put("\r\n");
}

void BufferedTextStream::FlushToDisk() {
  RequireWritable();
  Flush();
  try {
    channel_->Sync();
  } catch (...) {
    // Whether the file reached the disk is unknown: nothing written later can make it whole.
    writeFailure_ = CurrentErrorNumber();
    throw;
  }
}

void BufferedTextStream::Abandon() noexcept {
  end_ = 0;
  channel_.reset();
}

void BufferedTextStream::Close() {
  if (!channel_) return;
  if (direction_ == Direction::kWrite) {
    if (writeFailure_ != 0) {
      channel_.reset();
      throw Failure(writeFailure_, "an earlier write to the file failed");
    }
    try {
      Flush();
    } catch (...) {
      channel_.reset();
      throw;
    }
  }
  std::unique_ptr<ByteChannel> channel = std::move(channel_);
  channel->Close();
}

}  // namespace platform
