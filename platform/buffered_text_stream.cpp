#include "platform/buffered_text_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "platform/byte_scan.h"
#include "platform/eight_bit_text.h"
#include "platform/failure.h"

namespace platform {
namespace {

[[noreturn]] void RefuseWideText() {
  throw Failure(kInvalidProcedureCall, "the line has a character that 8-bit text cannot hold");
}

constexpr std::align_val_t kPageAlignment{4096};

char* NewBlock(std::size_t size) { return new (kPageAlignment) char[size]; }

}  // namespace

BufferedTextStream::BufferedTextStream(std::unique_ptr<ByteChannel> channel, Direction direction,
                                       std::size_t bufferSize, std::size_t maxLineLength)
    : channel_(std::move(channel)),
      direction_(direction),
      buffer_(NewBlock(std::max<std::size_t>(bufferSize, 1))),
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

void BufferedTextStream::PageAlignedDelete::operator()(char* block) const noexcept {
  ::operator delete[](block, kPageAlignment);
}

void BufferedTextStream::RefuseAfterFailedWrite() const {
  throw Failure(writeFailure_, "an earlier write to the file failed");
}

void BufferedTextStream::Refuse(Direction direction) const {
  if (!channel_) throw Failure(kInvalidProcedureCall, "the text stream is closed");
  throw Failure(kBadFileMode, direction == Direction::kRead ? "the text stream is for writing"
                                                            : "the text stream is for reading");
}

bool BufferedTextStream::Fill() {
  while (begin_ == end_ && !atEnd_) {
    begin_ = 0;
    linesAlone_ = false;
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

bool BufferedTextStream::AtEndOfStream() {
  Require(Direction::kRead);
  return begin_ == end_ && !Fill();
}

std::string_view BufferedTextStream::ReadLineBytes() {
  Require(Direction::kRead);
  if (begin_ == end_ && !Fill()) {
    throw Failure(kInputPastEndOfFile, "read past the end of the text stream");
  }
  // The usual line lies within the block and is handed out where it lies; only a line that
  // crosses blocks is gathered, in storage that later long lines reuse.
  bool gathered = false;
  do {
    const char* const block = buffer_.get();
    const std::size_t lineEnd =
        static_cast<std::size_t>(FindCrOrLf(block + begin_, block + end_) - block);
    const std::string_view part(block + begin_, lineEnd - begin_);
    const std::size_t held = gathered ? longLine_.size() : 0;
    if (part.size() > maxLineLength_ - held) {
      throw Failure(kOutOfMemory, "a line is longer than " + std::to_string(maxLineLength_));
    }
    if (lineEnd < end_) {
      begin_ = lineEnd + 1;
      if (block[lineEnd] == '\r') {
        if (begin_ < end_) {
          if (block[begin_] == '\n') ++begin_;
        } else {
          skipLf_ = true;
        }
      }
      if (!gathered) return part;
      longLine_.append(part);
      return longLine_;
    }
    if (!gathered) longLine_.clear();
    gathered = true;
    longLine_.append(part);
    begin_ = end_;
  } while (Fill());  // a last line without a line end ends at the end of the file
  return longLine_;
}

TextStream::LineRun BufferedTextStream::ReadRunOrLine(char a, char b) {
  Require(Direction::kRead);
  if (begin_ == end_ && !Fill()) {
    throw Failure(kInputPastEndOfFile, "read past the end of the text stream");
  }
  const char* const block = buffer_.get();
  const char* const from = block + begin_;
  const auto [runEnd, stop] = FindLineRun(from, block + end_, a, b);
  const auto take = [&](const char* end, std::size_t lineEnd) {
    begin_ = static_cast<std::size_t>(end - block) + lineEnd;
    return std::string_view(from, static_cast<std::size_t>(end - from));
  };
  if (runEnd != from) return {take(runEnd, 0), true};
  // The first line itself stopped the run. Where a lone line end stopped it, the line is known
  // already, and the rest of the block is read line by line: a file that ends its lines so has
  // few runs, and looking for them would cost more than it saves. A line with `a` or `b` or one
  // that goes on past the block is read as usual.
  if (stop != block + end_ && (*stop == '\n' || (stop != from && stop[-1] == '\r'))) {
    linesAlone_ = true;
    return *stop == '\n' ? LineRun{take(stop, 1), false} : LineRun{take(stop - 1, 1), false};
  }
  return {ReadLineBytes(), false};
}

void BufferedTextStream::ReadLine(std::wstring& line) {
  const std::string_view bytes = ReadLineBytes();
  // Overwritten, not cleared first: a resize that only shrinks or grows a little writes no fill
  // characters that the widening would overwrite at once.
  line.resize(bytes.size());
  WidenEightBit(bytes.data(), bytes.size(), line.data());
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
    NarrowEightBit(text.data(), count, buffer_.get() + end_);
    end_ += count;
    text.remove_prefix(count);
  }
}

void BufferedTextStream::WriteLine(std::wstring_view text) {
  RequireWritable();
  // The usual line fits in what is left of the block: narrow it in place and commit it only if
  // every character fitted, so that a refused line leaves no part of itself behind.
  if (capacity_ - end_ >= 2 && text.size() <= capacity_ - end_ - 2) {
    char* const out = buffer_.get() + end_;
    if (!NarrowEightBit(text.data(), text.size(), out)) RefuseWideText();
    out[text.size()] = '\r';
    out[text.size() + 1] = '\n';
    end_ += text.size() + 2;
    return;
  }
  if (!FitsEightBits(text)) RefuseWideText();
  PutText(text);
  Put("\r\n");
}

void BufferedTextStream::WriteLineBytes(std::string_view bytes) {
  RequireWritable();
  if (capacity_ - end_ >= 2 && bytes.size() <= capacity_ - end_ - 2) {
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

void BufferedTextStream::WriteLineRun(std::string_view lines) {
  RequireWritable();
  RequireCrLfEnd(lines);
  Put(lines);
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
