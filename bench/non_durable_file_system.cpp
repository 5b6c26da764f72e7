#include "bench/non_durable_file_system.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "platform/failure.h"
#include "platform/posix_path.h"

namespace bench {
namespace {

class NonDurableTextStream final : public platform::TextStream {
 public:
  explicit NonDurableTextStream(std::unique_ptr<platform::TextStream> inner)
      : inner_(std::move(inner)) {}

  bool AtEndOfStream() override { return inner_->AtEndOfStream(); }
  void ReadLine(std::wstring& line) override { inner_->ReadLine(line); }
  void WriteLine(std::wstring_view text) override { inner_->WriteLine(text); }
  std::string_view ReadLineBytes() override { return inner_->ReadLineBytes(); }
  void WriteLineBytes(std::string_view bytes) override { inner_->WriteLineBytes(bytes); }
  LineRun ReadLineRun(char a, char b) override { return inner_->ReadLineRun(a, b); }
  void WriteLineRun(std::string_view lines) override { inner_->WriteLineRun(lines); }
  void WriteBlankLines(int count) override { inner_->WriteBlankLines(count); }
  void FlushToDisk() override {}
  void Close() override { inner_->Close(); }
  void Abandon() noexcept override { inner_->Abandon(); }

 private:
  std::unique_ptr<platform::TextStream> inner_;
};

class NonDurableFileSystem final : public platform::FileSystemObject {
 public:
  bool FileExists(std::wstring_view path) override { return inner_->FileExists(path); }
  std::wstring GetParentFolderName(std::wstring_view path) override {
    return inner_->GetParentFolderName(path);
  }
  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    return inner_->GetAbsolutePathName(path);
  }
  std::wstring GetTempName() override { return inner_->GetTempName(); }
  void CreateFolder(std::wstring_view path) override { inner_->CreateFolder(path); }
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override {
    return std::make_unique<NonDurableTextStream>(inner_->OpenTextFile(path, mode, create));
  }
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path) override {
    return std::make_unique<NonDurableTextStream>(inner_->CreateTextFile(path));
  }
  void DeleteFile(std::wstring_view path) override { inner_->DeleteFile(path); }
  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    const std::string to = platform::ToNativePath(target);
    if (std::rename(to.c_str(), (to + ".old").c_str()) != 0 ||
        std::rename(platform::ToNativePath(replacement).c_str(), to.c_str()) != 0) {
      throw platform::Failure(platform::kPathFileAccessError, "cannot replace " + to);
    }
  }

 private:
  std::unique_ptr<platform::FileSystemObject> inner_ = platform::CreatePlatformFileSystem();
};

}  // namespace

std::unique_ptr<platform::FileSystemObject> CreateNonDurableFileSystem() {
  return std::make_unique<NonDurableFileSystem>();
}

}  // namespace bench
