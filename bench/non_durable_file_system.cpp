#include "bench/non_durable_file_system.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/buffered_text_stream.h"
#include "platform/failure.h"
#include "platform/forwarding_file_system.h"
#include "platform/posix_file_system.h"

namespace bench {
namespace {

// A file whose Sync does nothing.
class UnsyncedFile final : public platform::ByteChannel {
 public:
  explicit UnsyncedFile(std::unique_ptr<platform::ByteChannel> file) : file_(std::move(file)) {}
  std::size_t Read(char* buffer, std::size_t capacity) override {
    return file_->Read(buffer, capacity);
  }
  void Write(const char* data, std::size_t size) override { file_->Write(data, size); }
  void Sync() override {}
  void Close() override { file_->Close(); }

 private:
  std::unique_ptr<platform::ByteChannel> file_;
};

std::unique_ptr<platform::TextStream> UnsyncedWriter(std::wstring_view path,
                                                     platform::FileDisposition disposition) {
  return std::make_unique<platform::BufferedTextStream>(
      std::make_unique<UnsyncedFile>(
          platform::OpenByteFile(path, platform::FileAccess::kWrite, disposition)),
      platform::BufferedTextStream::Direction::kWrite);
}

class NonDurableFileSystem final : public platform::ForwardingFileSystem {
 public:
  NonDurableFileSystem() : ForwardingFileSystem(platform::CreatePlatformFileSystem()) {}

  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override {
    if (mode == platform::IoMode::ForReading) {
      return ForwardingFileSystem::OpenTextFile(path, mode, create);
    }
    return UnsyncedWriter(path, create ? platform::FileDisposition::kOpenOrCreate
                                       : platform::FileDisposition::kOpenExisting);
  }
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path) override {
    return UnsyncedWriter(path, platform::FileDisposition::kCreateNew);
  }
  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    const std::string to = platform::ToNativePath(target);
    if (std::rename(to.c_str(), (to + ".old").c_str()) != 0 ||
        std::rename(platform::ToNativePath(replacement).c_str(), to.c_str()) != 0) {
      throw platform::Failure(platform::kPathFileAccessError, "cannot replace " + to);
    }
  }
};

}  // namespace

std::unique_ptr<platform::FileSystemObject> CreateNonDurableFileSystem() {
  return std::make_unique<NonDurableFileSystem>();
}

}  // namespace bench
