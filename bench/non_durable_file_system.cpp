#include "bench/non_durable_file_system.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/forwarding_file_system.h"
#include "platform/posix_file_system.h"

namespace bench {
namespace {

class NonDurableTextStream final : public platform::ForwardingTextStream {
 public:
  using ForwardingTextStream::ForwardingTextStream;
  void FlushToDisk() override {}
};

class NonDurableFileSystem final : public platform::ForwardingFileSystem {
 public:
  NonDurableFileSystem() : ForwardingFileSystem(platform::CreatePlatformFileSystem()) {}

  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override {
    return std::make_unique<NonDurableTextStream>(
        ForwardingFileSystem::OpenTextFile(path, mode, create));
  }
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path) override {
    return std::make_unique<NonDurableTextStream>(ForwardingFileSystem::CreateTextFile(path));
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
