// A text stream on an 8-bit text file, opened by FileSystemObject::OpenTextFile.
//
// 8-bit text is byte-transparent: each byte is the character of the same value (U+0000 to U+00FF)
// and back, so a line that nobody changes is written back exactly as it was read, whatever code
// page it was written in. ReadLine accepts CR LF, LF and a lone CR as line ends and returns the
// line without it; WriteLine writes CR LF. ReadLineBytes and WriteLineBytes are the same two
// operations on the line's bytes, for callers that look at every line of a large file and so
// must not widen each one; ReadLineRun and WriteLineRun move runs of such lines at once. Writing a
// character above U+00FF fails with kInvalidProcedureCall instead of writing a substitute. Streams
// are buffered and never hold a whole file: a reader refuses a line longer than kMaxLineLength with
// kOutOfMemory. Every operation throws platform::Failure on failure.
//
// Destroying a stream without Close releases it: what was written so far is flushed as far as
// possible and the file is closed; the destructor never throws.
#pragma once

#include <cstddef>
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
  // Reads the next line into `line`, replacing its contents and reusing its storage.
  virtual void ReadLine(std::wstring& line) = 0;
  virtual void WriteLine(std::wstring_view text) = 0;
  // The next line as its bytes, each the character of the same value; the view is valid until
  // the next operation on the stream. A stream that holds a character above U+00FF fails with
  // kInvalidProcedureCall, since no byte stands for it.
  virtual std::string_view ReadLineBytes();
  // Writes the bytes as one line, each as the character of the same value.
  virtual void WriteLineBytes(std::string_view bytes);
  // The next lines at once where a stream can hand them out cheaply, for callers that copy most
  // lines unchanged: a run of whole lines from here that each end in CR LF and hold neither byte
  // `a` nor `b` (two bytes other than CR and LF), given with their line ends; or else the next
  // line alone, without its line end, as ReadLineBytes gives it. Valid until the next operation.
  struct LineRun {
    std::string_view text;
    bool crLfLines;  // text is a run of lines with their CR LF ends, not one line without its end
  };
  virtual LineRun ReadLineRun(char a, char b);
  // Writes whole lines, each ended by CR LF, as they are: the same as WriteLineBytes of each line
  // without its CR LF. Text that is not empty and does not end in CR LF is refused with
  // kInvalidProcedureCall.
  virtual void WriteLineRun(std::string_view lines);
  virtual void WriteBlankLines(int count) = 0;
  // A writer's lines so far, written through to the disk itself: when this returns they survive
  // a crash or a power cut. A stream that is not a file fails with kBadFileMode.
  virtual void FlushToDisk();
  // Flushes and closes; fails if the last writes cannot be made durable in the file.
  virtual void Close() = 0;
  // Releases the stream without writing what it still holds, for a file that is about to be
  // deleted; never fails. A stream that buffers nothing just closes quietly.
  virtual void Abandon() noexcept {}

  std::wstring ReadLine() {
    std::wstring line;
    ReadLine(line);
    return line;
  }

 protected:
  TextStream() = default;
  // WriteLineRun's refusal, for the streams that override it.
  static void RequireCrLfEnd(std::string_view lines);

 private:
  // For the byte operations' plain versions, which go through the characters.
  std::wstring wideLine_;
  std::string byteLine_;
};

}  // namespace platform
