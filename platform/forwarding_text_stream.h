// A text stream that forwards every operation to another one, which it owns: the base for wrappers
// that change a few operations and pass the rest through. Those that TextStream gives a plain
// version of its own (the byte and run operations, FlushToDisk) are forwarded too, so a wrapper
// never puts the plain version in front of the wrapped stream's own. An operation added to
// TextStream is forwarded here, once for every wrapper.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text_stream.h"

namespace platform {

class ForwardingTextStream : public TextStream {
 public:
  explicit ForwardingTextStream(std::unique_ptr<TextStream> target) : target_(std::move(target)) {}

  bool AtEndOfStream() override { return target_->AtEndOfStream(); }
  void ReadLine(std::wstring& line) override { target_->ReadLine(line); }
  using TextStream::ReadLine;
  void WriteLine(std::wstring_view text) override { target_->WriteLine(text); }
  std::string_view ReadLineBytes() override { return target_->ReadLineBytes(); }
  void WriteLineBytes(std::string_view bytes) override { target_->WriteLineBytes(bytes); }
  LineRun ReadLineRun(char a, char b) override { return target_->ReadLineRun(a, b); }
  void WriteLineRun(std::string_view lines) override { target_->WriteLineRun(lines); }
  void WriteBlankLines(int count) override { target_->WriteBlankLines(count); }
  void FlushToDisk() override { target_->FlushToDisk(); }
  void Close() override { target_->Close(); }
  void Abandon() noexcept override { target_->Abandon(); }

 private:
  std::unique_ptr<TextStream> target_;
};

}  // namespace platform
