#include "platform/buffered_text_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define BU_HAVE_SSE2 1
#endif

#include "platform/failure.h"

namespace platform {
namespace {

// The first CR or LF in [from, to), or `to`: one pass for both, so that the search costs the same
// whichever line end the file uses.
const char* FindCrOrLf(const char* from, const char* to) {
#ifdef BU_HAVE_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; to - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return from + std::countr_zero(static_cast<unsigned>(hits));
  }
#endif
  for (; from != to; ++from) {
    if (*from == '\r' || *from == '\n') return from;
  }
  return to;
}

// Byte N becomes character U+00NN.
void Widen(const char* in, std::size_t count, wchar_t* out) {
  std::size_t i = 0;
#ifdef BU_HAVE_SSE2
  const auto widen16 = [](const char* from, wchar_t* to) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    auto* vectors = reinterpret_cast<__m128i*>(to);
    if constexpr (sizeof(wchar_t) == 2) {
      _mm_storeu_si128(vectors, low);
      _mm_storeu_si128(vectors + 1, high);
    } else {
      _mm_storeu_si128(vectors, _mm_unpacklo_epi16(low, zero));
      _mm_storeu_si128(vectors + 1, _mm_unpackhi_epi16(low, zero));
      _mm_storeu_si128(vectors + 2, _mm_unpacklo_epi16(high, zero));
      _mm_storeu_si128(vectors + 3, _mm_unpackhi_epi16(high, zero));
    }
  };
  if (count >= 16) {
    for (; count - i >= 16; i += 16) widen16(in + i, out + i);
    // The last few characters as one more block that overlaps the one before: the same bytes
    // give the same characters, so the overlap is harmless and the scalar tail is avoided.
    if (i != count) widen16(in + count - 16, out + count - 16);
    return;
  }
#endif
  for (; i < count; ++i) out[i] = static_cast<wchar_t>(static_cast<unsigned char>(in[i]));
}

// Writes the low byte of each character to `out` and tells whether every character fitted in 8
// bits. The bytes are scratch until the caller commits them, so a refused text leaves nothing.
bool NarrowFitting(const wchar_t* in, std::size_t count, char* out) {
  std::size_t i = 0;
  std::uint32_t bits = 0;
#ifdef BU_HAVE_SSE2
  const auto narrow16 = [](const wchar_t* in16, char* out16, __m128i& seen) {
    const auto* from = reinterpret_cast<const __m128i*>(in16);
    __m128i packed;
    if constexpr (sizeof(wchar_t) == 2) {
      const __m128i a = _mm_loadu_si128(from);
      const __m128i b = _mm_loadu_si128(from + 1);
      seen = _mm_or_si128(seen, _mm_or_si128(a, b));
      packed = _mm_packus_epi16(a, b);  // exact for 0 to 0xFF; anything else is refused below
    } else {
      const __m128i a = _mm_loadu_si128(from);
      const __m128i b = _mm_loadu_si128(from + 1);
      const __m128i c = _mm_loadu_si128(from + 2);
      const __m128i d = _mm_loadu_si128(from + 3);
      seen = _mm_or_si128(seen, _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)));
      packed = _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out16), packed);
  };
  if (count >= 16) {
    __m128i seen = _mm_setzero_si128();
    for (; count - i >= 16; i += 16) narrow16(in + i, out + i, seen);
    // The tail as one more block overlapping the one before (see Widen).
    if (i != count) narrow16(in + count - 16, out + count - 16, seen);
    const __m128i lowByte = sizeof(wchar_t) == 2 ? _mm_set1_epi16(0xFF) : _mm_set1_epi32(0xFF);
    const __m128i above = _mm_andnot_si128(lowByte, seen);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(above, _mm_setzero_si128())) == 0xFFFF;
  }
#endif
  for (; i < count; ++i) {
    bits |= static_cast<std::uint32_t>(in[i]);
    out[i] = static_cast<char>(in[i]);
  }
  return bits <= 0xFF;
}

bool FitsEightBits(std::wstring_view text) {
  std::uint32_t bits = 0;
  for (const wchar_t c : text) bits |= static_cast<std::uint32_t>(c);
  return bits <= 0xFF;
}

[[noreturn]] void RefuseWideText() {
  throw Failure(kInvalidProcedureCall, "the line has a character that 8-bit text cannot hold");
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

void BufferedTextStream::Refuse(Direction direction) const {
  if (!channel_) throw Failure(kInvalidProcedureCall, "the text stream is closed");
  throw Failure(kBadFileMode, direction == Direction::kRead ? "the text stream is for writing"
                                                            : "the text stream is for reading");
}

bool BufferedTextStream::Fill() {
  while (begin_ == end_ && !atEnd_) {
    begin_ = 0;
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

void BufferedTextStream::ReadLine(std::wstring& line) {
  const std::string_view bytes = ReadLineBytes();
  // Overwritten, not cleared first: a resize that only shrinks or grows a little writes no fill
  // characters that the widening would overwrite at once.
  line.resize(bytes.size());
  Widen(bytes.data(), bytes.size(), line.data());
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
    NarrowFitting(text.data(), count, buffer_.get() + end_);
    end_ += count;
    text.remove_prefix(count);
  }
}

void BufferedTextStream::WriteLine(std::wstring_view text) {
  Require(Direction::kWrite);
  if (writeFailure_ != 0) throw Failure(writeFailure_, "an earlier write to the file failed");
  // The usual line fits in what is left of the block: narrow it in place and commit it only if
  // every character fitted, so that a refused line leaves no part of itself behind.
  if (capacity_ - end_ >= 2 && text.size() <= capacity_ - end_ - 2) {
    char* const out = buffer_.get() + end_;
    if (!NarrowFitting(text.data(), text.size(), out)) RefuseWideText();
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
  Require(Direction::kWrite);
  if (writeFailure_ != 0) throw Failure(writeFailure_, "an earlier write to the file failed");
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
