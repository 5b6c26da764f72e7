#include "platform/buffered_text_stream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "platform/failure.h"

namespace platform {
namespace {

constexpr std::size_t kNotSearched = static_cast<std::size_t>(-1);

// Plain loops over contiguous memory: the compiler vectorises both.
void Widen(const char* in, std::size_t count, wchar_t* out) {
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<wchar_t>(static_cast<unsigned char>(in[i]));
  }
}

void Narrow(const wchar_t* in, std::size_t count, char* out) {
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<char>(in[i]);
}

bool FitsEightBits(std::wstring_view text) {
  std::uint32_t bits = 0;
  for (const wchar_t c : text) bits |= static_cast<std::uint32_t>(c);
  return bits <= 0xFF;
}

}  // namespace

BufferedTextStream::BufferedTextStream(std::unique_ptr<ByteChannel> channel, Direction direction,
                                       std::size_t bufferSize, std::size_t maxLineLength)
    : channel_(std::move(channel)),
      direction_(direction),
      buffer_(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(bufferSize, 1))),
      capacity_(std::max<std::size_t>(bufferSize, 1)),
      maxLineLength_(maxLineLength) {}

BufferedTextStream::~BufferedTextStream() {
  if (!channel_ || direction_ != Direction::kWrite || writeFailure_ != 0) return;
  try {
    Flush();
  } catch (...) {
    // Nothing can report it here; the channel's destructor still releases the file.
  }
}

void BufferedTextStream::Require(Direction direction) const {
  if (!channel_) throw Failure(kInvalidProcedureCall, "the text stream is closed");
  if (direction_ != direction) {
    throw Failure(kBadFileMode, direction == Direction::kRead ? "the text stream is for writing"
                                                              : "the text stream is for reading");
  }
}

bool BufferedTextStream::Fill() {
  while (begin_ == end_ && !atEnd_) {
    begin_ = 0;
    end_ = channel_->Read(buffer_.get(), capacity_);
    nextCr_ = nextLf_ = kNotSearched;
    if (end_ == 0) {
      atEnd_ = true;
    } else if (skipLf_) {
      skipLf_ = false;
      if (buffer_[0] == '\n') begin_ = 1;
    }
  }
  return begin_ < end_;
}

std::size_t BufferedTextStream::FindLineEnd() {
  const auto next = [this](char c, std::size_t& cached) {
    if (cached == kNotSearched || cached < begin_) {
      const void* found = std::memchr(buffer_.get() + begin_, c, end_ - begin_);
      cached =
          found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.get()) : end_;
    }
    return cached;
  };
  return std::min(next('\n', nextLf_), next('\r', nextCr_));
}

bool BufferedTextStream::AtEndOfStream() {
  Require(Direction::kRead);
  return !Fill();
}

void BufferedTextStream::ReadLine(std::wstring& line) {
  Require(Direction::kRead);
  if (!Fill()) throw Failure(kInputPastEndOfFile, "read past the end of the text stream");
  line.clear();
  do {
    const std::size_t lineEnd = FindLineEnd();
    const std::size_t count = lineEnd - begin_;
    const std::size_t held = line.size();
    if (count > maxLineLength_ - held) {
      throw Failure(kOutOfMemory, "a line is longer than " + std::to_string(maxLineLength_));
    }
    line.resize(held + count);
    Widen(buffer_.get() + begin_, count, line.data() + held);
    if (lineEnd < end_) {
      begin_ = lineEnd + 1;
      if (buffer_[lineEnd] == '\r') {
        if (begin_ < end_) {
          if (buffer_[begin_] == '\n') ++begin_;
        } else {
          skipLf_ = true;
        }
      }
      return;
    }
    begin_ = end_;
  } while (Fill());  // a last line without a line end ends at the end of the file
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

void BufferedTextStream::PutText(std::wstring_view text) {
  while (!text.empty()) {
    if (end_ == capacity_) Flush();
    const std::size_t count = std::min(text.size(), capacity_ - end_);
    Narrow(text.data(), count, buffer_.get() + end_);
    end_ += count;
    text.remove_prefix(count);
  }
}

void BufferedTextStream::WriteLine(std::wstring_view text) {
  Require(Direction::kWrite);
  if (writeFailure_ != 0) throw Failure(writeFailure_, "an earlier write to the file failed");
  // Checked before anything is buffered, so that a refused line leaves no part of itself behind.
  if (!FitsEightBits(text)) {
    throw Failure(kInvalidProcedureCall, "the line has a character that 8-bit text cannot hold");
  }
  PutText(text);
  Put("\r\n");
}

void BufferedTextStream::WriteBlankLines(int count) {
  Require(Direction::kWrite);
  if (writeFailure_ != 0) throw Failure(writeFailure_, "an earlier write to the file failed");
  if (count < 0) throw Failure(kInvalidProcedureCall, "a negative count of blank lines");
  for (int i = 0; i < count; ++i) Put("\r\n");
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
