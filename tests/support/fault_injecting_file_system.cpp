#include "tests/support/fault_injecting_file_system.h"

#include <algorithm>
#include <utility>

#include "platform/failure.h"
#include "platform/forwarding_text_stream.h"

namespace upgrade_test {
namespace {

class FaultInjectingTextStream final : public platform::ForwardingTextStream {
 public:
  FaultInjectingTextStream(std::unique_ptr<platform::TextStream> inner,
                           std::shared_ptr<FaultPlan> plan, std::wstring path)
      : ForwardingTextStream(std::move(inner)), plan_(std::move(plan)), path_(std::move(path)) {}

  bool AtEndOfStream() override {
    plan_->Count("TextStream::AtEndOfStream", path_);
    return ForwardingTextStream::AtEndOfStream();
  }
  void ReadLine(std::wstring& line) override {
    plan_->Count("TextStream::ReadLine", path_);
    ForwardingTextStream::ReadLine(line);
  }
  void WriteLine(std::wstring_view text) override {
    plan_->Count("TextStream::WriteLine", path_);
    ForwardingTextStream::WriteLine(text);
  }
  // The byte forms are the same operations, counted under the same names.
  std::string_view ReadLineBytes() override {
    plan_->Count("TextStream::ReadLine", path_);
    return ForwardingTextStream::ReadLineBytes();
  }
  void WriteLineBytes(std::string_view bytes) override {
    plan_->Count("TextStream::WriteLine", path_);
    ForwardingTextStream::WriteLineBytes(bytes);
  }
  // The runs are operations of their own: one that fails must leave the files as whole as any.
  LineRun ReadLineRun(char a, char b) override {
    plan_->Count("TextStream::ReadLineRun", path_);
    return ForwardingTextStream::ReadLineRun(a, b);
  }
  void WriteLineRun(std::string_view lines) override {
    plan_->Count("TextStream::WriteLineRun", path_);
    ForwardingTextStream::WriteLineRun(lines);
  }
  void WriteBlankLines(int count) override {
    plan_->Count("TextStream::WriteBlankLines", path_);
    ForwardingTextStream::WriteBlankLines(count);
  }
  void FlushToDisk() override {
    plan_->Count("TextStream::FlushToDisk", path_);
    ForwardingTextStream::FlushToDisk();
  }
  void Close() override {
    plan_->Count("TextStream::Close", path_);
    ForwardingTextStream::Close();
  }
  // Abandon is a release, as destroying the stream is: not an operation that can fail, and not
  // counted.

 private:
  std::shared_ptr<FaultPlan> plan_;
  std::wstring path_;
};

}  // namespace

void FaultPlan::Count(std::string name, std::wstring_view path, std::wstring_view destination) {
  ++count;
  log.push_back({std::move(name), std::wstring(path), std::wstring(destination)});
  if (std::find(failAt.begin(), failAt.end(), count) != failAt.end()) {
    throw platform::Failure(errorNumber, "injected failure of operation " + std::to_string(count) +
                                             " (" + log.back().name + ")");
  }
  if (beforeForward) beforeForward(log.back());
}

bool FaultPlan::Failed() const {
  return std::any_of(failAt.begin(), failAt.end(), [this](std::int64_t n) { return n <= count; });
}

std::vector<std::int64_t> FaultPlan::Find(std::string_view name, std::wstring_view path) const {
  std::vector<std::int64_t> found;
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i].name == name && log[i].path == path)
      found.push_back(static_cast<std::int64_t>(i) + 1);
  }
  return found;
}

FaultInjectingFileSystem::FaultInjectingFileSystem(
    std::unique_ptr<platform::FileSystemObject> inner, std::shared_ptr<FaultPlan> plan)
    : ForwardingFileSystem(std::move(inner)), plan_(std::move(plan)) {}

bool FaultInjectingFileSystem::FileExists(std::wstring_view path) {
  plan_->Count("FileExists", path);
  return ForwardingFileSystem::FileExists(path);
}

std::wstring FaultInjectingFileSystem::GetParentFolderName(std::wstring_view path) {
  plan_->Count("GetParentFolderName", path);
  return ForwardingFileSystem::GetParentFolderName(path);
}

std::wstring FaultInjectingFileSystem::GetAbsolutePathName(std::wstring_view path) {
  plan_->Count("GetAbsolutePathName", path);
  return ForwardingFileSystem::GetAbsolutePathName(path);
}

std::wstring FaultInjectingFileSystem::GetTempName() {
  plan_->Count("GetTempName", L"");
  if (plan_->tempNames.empty()) return ForwardingFileSystem::GetTempName();
  std::wstring name = std::move(plan_->tempNames.front());
  plan_->tempNames.erase(plan_->tempNames.begin());
  return name;
}

void FaultInjectingFileSystem::CreateFolder(std::wstring_view path) {
  plan_->Count("CreateFolder", path);
  ForwardingFileSystem::CreateFolder(path);
}

std::unique_ptr<platform::TextStream> FaultInjectingFileSystem::OpenTextFile(std::wstring_view path,
                                                                             platform::IoMode mode,
                                                                             bool create) {
  plan_->Count("OpenTextFile", path);
  return std::make_unique<FaultInjectingTextStream>(
      ForwardingFileSystem::OpenTextFile(path, mode, create), plan_, std::wstring(path));
}

std::unique_ptr<platform::TextStream> FaultInjectingFileSystem::CreateTextFile(
    std::wstring_view path) {
  plan_->Count("CreateTextFile", path);
  return std::make_unique<FaultInjectingTextStream>(ForwardingFileSystem::CreateTextFile(path),
                                                    plan_, std::wstring(path));
}

void FaultInjectingFileSystem::DeleteFile(std::wstring_view path) {
  plan_->Count("DeleteFile", path);
  ForwardingFileSystem::DeleteFile(path);
}

void FaultInjectingFileSystem::ReplaceFile(std::wstring_view target,
                                           std::wstring_view replacement) {
  plan_->Count("ReplaceFile", target, replacement);
  ForwardingFileSystem::ReplaceFile(target, replacement);
}

ui::UpgradeState::FileSystemFactory FaultInjectingFactory(
    std::shared_ptr<FaultPlan> plan, ui::UpgradeState::FileSystemFactory inner) {
  return [plan, inner]() -> std::unique_ptr<platform::FileSystemObject> {
    return std::make_unique<FaultInjectingFileSystem>(inner(), plan);
  };
}

}  // namespace upgrade_test
