// A byte channel over memory, so that text streams and the INI parser can be fed without a file.
#pragma once

#include <string>
#include <string_view>

#include "platform/byte_channel.h"

namespace platform {

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

}  // namespace platform
