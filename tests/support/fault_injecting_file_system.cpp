#include "tests/support/fault_injecting_file_system.h"

#include <algorithm>
#include <utility>

#include "platform/failure.h"

namespace test_support {
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
  std::string_view ReadLineBytes() override {
    plan_->Count("TextStream::ReadLine", path_);
    return ForwardingTextStream::ReadLineBytes();
  }
  void WriteLineBytes(std::string_view bytes) override {
    plan_->Count("TextStream::WriteLine", path_);
    ForwardingTextStream::WriteLineBytes(bytes);
  }
  std::string_view ReadBytes() override {
    plan_->Count("TextStream::ReadBytes", path_);
    return ForwardingTextStream::ReadBytes();
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

bool FaultPlan::Count(std::string name, std::wstring_view path, std::wstring_view destination) {
  log.push_back({std::move(name), std::wstring(path), std::wstring(destination)});
  const Operation& operation = log.back();
  const int call = ++calls_[{operation.name, operation.path}];
  bool failAfter = false;
  for (const Fault& fault : faults) {
    if (fault.operation == operation.name && fault.path == operation.path &&
        fault.occurrence == call) {
      if (fault.afterTheCall) {
        failAfter = true;
        continue;
      }
      ++failures;
      throw platform::Failure(
          errorNumber, "injected failure of " + operation.name + " call " + std::to_string(call));
    }
  }
  if (beforeForward) beforeForward(operation);
  return failAfter;
}

void FaultPlan::FailAfterTheCall() {
  ++failures;
  throw platform::Failure(errorNumber, "injected failure after " + log.back().name);
}

Fault FaultPlan::FaultAt(const std::vector<Operation>& log, std::size_t index, bool afterTheCall) {
  const Operation& operation = log.at(index);
  const auto sameCall = [&](const Operation& other) {
    return other.name == operation.name && other.path == operation.path;
  };
  const auto before = log.begin() + static_cast<std::ptrdiff_t>(index);
  return {operation.name, operation.path,
          static_cast<int>(std::count_if(log.begin(), before, sameCall)) + 1, afterTheCall};
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
  const bool failAfter = plan_->Count("CreateFolder", path);
  ForwardingFileSystem::CreateFolder(path);
  if (failAfter) plan_->FailAfterTheCall();
}

std::unique_ptr<platform::TextStream> FaultInjectingFileSystem::OpenTextFile(std::wstring_view path,
                                                                             platform::IoMode mode,
                                                                             bool create) {
  const bool failAfter = plan_->Count("OpenTextFile", path);
  auto stream = std::make_unique<FaultInjectingTextStream>(
      ForwardingFileSystem::OpenTextFile(path, mode, create), plan_, std::wstring(path));
  if (failAfter) plan_->FailAfterTheCall();
  return stream;
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
  const bool failAfter = plan_->Count("ReplaceFile", target, replacement);
  ForwardingFileSystem::ReplaceFile(target, replacement);
  if (failAfter) plan_->FailAfterTheCall();
}

ui::UpgradeState::FileSystemFactory FaultInjectingFactory(
    std::shared_ptr<FaultPlan> plan, ui::UpgradeState::FileSystemFactory inner) {
  return [plan, inner]() -> std::unique_ptr<platform::FileSystemObject> {
    return std::make_unique<FaultInjectingFileSystem>(inner(), plan);
  };
}

}  // namespace test_support
