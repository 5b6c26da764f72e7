// A text stream on an 8-bit text file, opened by FileSystemObject::OpenTextFile, and what a file's
// first bytes tell of its encoding.
//
// 8-bit text is byte-transparent: each byte is the character of the same value (U+0000 to U+00FF)
// and back, so a line that nobody changes is written back exactly as it was read, whatever code
// page it was written in. A reader accepts CR LF, LF and a lone CR as line ends and hands out each
// line without it; a writer ends every line with CR LF. The line operations work on a line's
// bytes, so that a rewrite never widens the lines it only copies; ReadLine and WriteLine are the
// same on characters, for callers that hold text. Writing a character above U+00FF fails with
// kInvalidProcedureCall and writes nothing. Streams are buffered and never hold a whole file: a
// reader refuses a line longer than kMaxLineLength with kOutOfMemory. Every operation throws
// platform::Failure on failure.
//
// Destroying a stream without Close releases it: what was written so far is flushed as far as
// possible and the file is closed; the destructor never throws.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The longest line a reader hands out, in characters: whatever the file, no line makes the
// program hold more than this at once.
inline constexpr std::size_t kMaxLineLength = std::size_t{64} * 1024 * 1024;

class TextStream {
 public:
  virtual ~TextStream() = default;
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // True when no line is left to read.
  virtual bool AtEndOfStream() = 0;
  // The next line's bytes; valid until the next operation on the stream.
  virtual std::string_view ReadLineBytes() = 0;
  // Writes the bytes as one line.
  virtual void WriteLineBytes(std::string_view bytes) = 0;
  // The file's next bytes as they are, from where the last line read ended, up to a buffer's
  // worth; empty at the end. For a reader that tells the file's encoding by itself, as the INI
  // reader does. A stream that holds no file fails with kBadFileMode.
  virtual std::string_view ReadBytes();
  virtual void WriteBlankLines(int count) = 0;
  // A writer's lines so far, written through to the disk itself: when this returns they survive
  // a crash or a power cut. A stream that is not a file fails with kBadFileMode.
  virtual void FlushToDisk();
  // Flushes and closes; fails if the last writes cannot be made durable in the file.
  virtual void Close() = 0;
  // Releases the stream without writing what it still holds, for a file that is about to be
  // deleted; never fails. A stream that buffers nothing just closes quietly.
  virtual void Abandon() noexcept {}

  // The line operations on characters. ReadLine replaces the contents of `line`, reusing its
  // storage.
  void ReadLine(std::wstring& line);
  std::wstring ReadLine();
  void WriteLine(std::wstring_view text);

 protected:
  TextStream() = default;
};

// The characters of 8-bit text: byte N becomes U+00NN.
std::wstring WidenEightBit(std::string_view bytes);
// The bytes of the text, or nothing when a character has no byte (above U+00FF).
std::optional<std::string> NarrowEightBit(std::wstring_view text);

// The UTF-8 mark, and the same as the characters that 8-bit text reads it as. It is no part of
// the first line, and a file written back keeps it.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::wstring_view kUtf8MarkCharacters = L"\u00EF\u00BB\u00BF";

// Whether a file whose first line is given is UTF-16: the line starts with either byte-order
// mark, or, without one, its first two bytes are a NUL and a printable ASCII character, as the
// first character of text in either byte order is. A NUL further on, which some 8-bit files
// hold, does not count.
constexpr bool LooksLikeUtf16(std::string_view firstLine) noexcept {
  if (firstLine.starts_with("\xFF\xFE") || firstLine.starts_with("\xFE\xFF")) return true;
  const auto printable = [](char c) { return c >= ' ' && c <= '~'; };
  return firstLine.size() >= 2 && ((firstLine[0] == '\0' && printable(firstLine[1])) ||
                                   (firstLine[1] == '\0' && printable(firstLine[0])));
}

}  // namespace platform
